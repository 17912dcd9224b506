#include "framework/win_app.h"

// The entry point constructs nothing: the application object already exists as
// a static object. When InitInstance returns, the process ends.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance();
    return 0;
}
