#pragma once
#include "framework/wnd.h"

// Control classes add no behaviour of their own; they name what a window
// object stands for and are the base of controls that do.
class CStatic : public CWnd {};
class CComboBox : public CWnd {};
