// Quimel SettingsConverter: a dialog that converts a Channel-Settings file.

#include <windows.h>

#include "main_dialog.h"
#include "resource.h"

HINSTANCE gInstance = nullptr;

namespace {

constexpr int kExitFailure = 1;

HWND gMainDialog = nullptr;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    gMainDialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     MainDialogProc, 0);
    if (!gMainDialog) {
        // Nothing could ever post the quit message: leave rather than wait for it.
        return kExitFailure;
    }
    // The dialog is the whole program, so the show command the system passes is not used.
    ShowWindow(gMainDialog, SW_SHOW);

    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return kExitFailure;
        }
        if (!IsDialogMessageA(gMainDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
