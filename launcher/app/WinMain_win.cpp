// The program's entry point: restricts where DLLs come from, then creates the application object and
// runs it.
#include "launcher/app/SetupApp_win.h"
#include "support/CodePage_win.h"
#include "support/DllSearch_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystemFolder(); // before anything can load a library
    UseSystemCodePages();
    CSetupApp app(GetCommandLineW());
    if (app.InitInstance()) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return app.ExitInstance();
}
