#include "framework/system_library.h"
#include "framework/win_app.h"

// The C run-time's entry point, which constructs the static objects and calls WinMain.
extern "C" int WinMainCRTStartup();

// The executable's entry point, ahead of the run-time's: DLL loads are
// restricted to the system folder before any other code of the program runs.
extern "C" int WexmoorStartup()
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
