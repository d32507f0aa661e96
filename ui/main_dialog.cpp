#include "main_dialog.h"

#include <string>

#include "dialog_text.h"
#include "resource.h"
#include "settings_chooser.h"
#include "settings_converter.h"

namespace {

constexpr int kBrowseIconSize = 16;

const char kCheckCaption[] = "Open settings-file";
const char kConvertCaption[] = "Convert settings-file";
const char kNotValidText[] = "ERROR:\n\nNot a valid settings-file !";
const char kCannotReadText[] = "ERROR:\n\nCannot read the settings-file !";
const char kCannotWriteText[] = "ERROR:\n\nCannot write the converted settings-file !";

settings::SettingsConverter gConverter;

void ShowError(HWND dialog, const char* text, const char* caption) {
    MessageBoxA(dialog, text, caption, MB_OK | MB_ICONERROR);
}

void SetConvertEnabled(HWND dialog, bool enabled) {
    HWND convert = GetDlgItem(dialog, IDC_CONVERT);
    if (!enabled && GetFocus() == convert) {
        // A disabled button cannot keep the focus; without moving it the keyboard would
        // reach no control until the user clicks one.
        SendMessageA(dialog, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SETTINGS_PATH)), TRUE);
    }
    EnableWindow(convert, enabled ? TRUE : FALSE);
}

const char* ConvertFailureText(settings::ConvertStatus status) {
    switch (status) {
        case settings::ConvertStatus::NotValid:
            return kNotValidText;
        case settings::ConvertStatus::CannotWrite:
            return kCannotWriteText;
        case settings::ConvertStatus::CannotRead:
        case settings::ConvertStatus::Converted:
            break;
    }
    return kCannotReadText;
}

BOOL OnInitDialog(HWND dialog) {
    // A missing icon leaves ">>" showing its text, which still works.
    HANDLE icon = LoadImageA(gInstance, MAKEINTRESOURCEA(IDI_BROWSE), IMAGE_ICON,
                             kBrowseIconSize, kBrowseIconSize, LR_DEFAULTCOLOR);
    SendDlgItemMessageA(dialog, IDC_BROWSE, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(icon));
    SetConvertEnabled(dialog, false);
    return TRUE;  // the dialog manager focuses the first tab stop, the path field
}

void OnBrowse(HWND dialog) {
    ChooseSettingsFile(dialog, IDC_BROWSE);
    // A cancelled chooser leaves the field as it was; whatever it holds is checked.
    std::string path = ReadDialogItemText(dialog, IDC_SETTINGS_PATH);
    switch (gConverter.CheckSettingsFile(path)) {
        case settings::CheckResult::Accepted:
            SetConvertEnabled(dialog, true);
            break;
        case settings::CheckResult::Rejected:
            ShowError(dialog, kNotValidText, kCheckCaption);
            break;
        case settings::CheckResult::NothingDone:
            // An empty field is no attempt; a named file that cannot be read is a failure
            // the user has to hear about.
            if (!path.empty()) {
                ShowError(dialog, kCannotReadText, kCheckCaption);
            }
            break;
    }
}

void OnConvert(HWND dialog) {
    std::string path = ReadDialogItemText(dialog, IDC_SETTINGS_PATH);
    settings::ConvertResult result = gConverter.ConvertSettingsFile(path);
    gConverter.CloseSettingsFiles();
    if (result.status == settings::ConvertStatus::Converted) {
        SetDlgItemTextA(dialog, IDC_SETTINGS_PATH, "");
        SetConvertEnabled(dialog, false);
    } else {
        // The field and "Convert" stay as they are, so the user can put things right and
        // try again.
        ShowError(dialog, ConvertFailureText(result.status), kConvertCaption);
    }
}

void OnQuit(HWND dialog) {
    gConverter.CloseSettingsFiles();
    EndDialog(dialog, 0);
    PostQuitMessage(0);
}

void OnCommand(HWND dialog, int commandId) {
    switch (commandId) {
        case IDCANCEL:  // Escape, the close box, Alt+F4
        case IDC_CANCEL_BUTTON:
            OnQuit(dialog);
            break;
        case IDC_BROWSE:
            OnBrowse(dialog);
            break;
        case IDC_CONVERT:
            OnConvert(dialog);
            break;
        default:  // IDOK from Enter in the path field, the field's notifications
            break;
    }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam));
            return FALSE;
        default:
            return FALSE;
    }
}
