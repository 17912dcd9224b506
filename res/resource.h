#pragma once
// Resource identifiers shared by the resource script and the code.

#define IDR_MAINFRAME_ICON 128

#define IDD_JUMP 102
#define IDC_INPUT 1000
