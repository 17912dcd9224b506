#include "framework/system_library.h"
#include "framework/win_app.h"

// The C run-time's entry point, which constructs the static objects and calls WinMain.
extern "C" int WinMainCRTStartup();

// The executable's entry point, ahead of the run-time's: DLL loads are
// restricted to the system folder before any other code of the program runs.
// 32-bit Windows enters it with the stack aligned to 4 bytes, the compiler assumes 16.
extern "C" __attribute__((force_align_arg_pointer)) int WexmoorStartup()
{
    RestrictDllSearchToSystem();
    return WinMainCRTStartup();
}

// Constructs nothing: the application object already exists as a static
// object. When InitInstance returns, the process ends.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance();
    return 0;
}
