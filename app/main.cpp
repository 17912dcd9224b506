#include "app/jump_app.h"

// The one application object; the framework's entry point runs it.
CJumpApp theApp;
