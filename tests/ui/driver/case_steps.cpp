#include "case_steps.h"

#include <windows.h>

#include <algorithm>

#include "check.h"
#include "resource.h"
#include "screen_pixels.h"
#include "test_files.h"

const char kChooserTitle[] = "Quimel SettingsConverter";
const char kCheckCaption[] = "Open settings-file";
const char kConvertCaption[] = "Convert settings-file";
const char kNotValidText[] = "ERROR:\n\nNot a valid settings-file !";
const char kCannotReadText[] = "ERROR:\n\nCannot read the settings-file !";
const char kCannotWriteText[] = "ERROR:\n\nCannot write the converted settings-file !";

namespace {

constexpr int kChooserFileName = 0x47C;   // cmb13
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kMessageBoxIcon = 0x440;

}  // namespace

HWND ChooserFileNameEdit(HWND chooser) {
    HWND box = GetDlgItem(chooser, kChooserFileName);
    for (int depth = 0; box && depth < 3; depth++) {
        char name[64] = "";
        GetClassNameA(box, name, sizeof(name));
        if (lstrcmpiA(name, "Edit") == 0) {
            return box;
        }
        HWND child = FindWindowExA(box, nullptr, nullptr, nullptr);
        box = child;
    }
    return nullptr;
}

HWND OpenChooser(AppSession& app) {
    app.ClickItem(IDC_BROWSE);
    HWND chooser = app.WaitForWindow(kChooserTitle);
    Check(chooser != nullptr, "\">>\" opens the chooser");
    if (chooser) {
        app.Settle();
    }
    return chooser;
}

bool PressInChooser(AppSession& app, HWND chooser, const std::string& fileName, int buttonId) {
    HWND edit = ChooserFileNameEdit(chooser);
    if (!Check(edit != nullptr, "the chooser has a file-name box")) {
        return false;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()),
                        SMTO_NORMAL, kWaitMs, &result);
    app.Click(GetDlgItem(chooser, buttonId));
    return app.Settle();
}

bool CloseChooserWith(AppSession& app, HWND chooser, int buttonId) {
    app.Click(GetDlgItem(chooser, buttonId));
    if (!Check(app.WaitUntilGone(chooser), "the chooser closes")) {
        return false;
    }
    return app.Settle();
}

bool BrowseAndCancel(AppSession& app) {
    HWND chooser = OpenChooser(app);
    return chooser && CloseChooserWith(app, chooser, IDCANCEL);
}

bool BrowseAndPick(AppSession& app, const std::string& path) {
    HWND chooser = OpenChooser(app);
    if (!chooser) {
        return false;
    }
    if (!PressInChooser(app, chooser, path, IDOK)) {
        return false;
    }
    if (!Check(app.WaitUntilGone(chooser), "the chooser closes on Open")) {
        CloseChooserWith(app, chooser, IDCANCEL);
        return false;
    }
    return app.Settle();
}

bool TypeAndAccept(AppSession& app, const std::string& path) {
    app.SetItemText(IDC_SETTINGS_PATH, path);
    return BrowseAndCancel(app) && app.IsItemEnabled(IDC_CONVERT);
}

void CheckErrorBox(AppSession& app, const std::string& caption, const std::string& text,
                   const std::string& what) {
    HWND box = app.WaitForWindow(caption);
    if (!Check(box != nullptr, what + ": a box captioned \"" + caption + "\" appears")) {
        CheckNoOtherWindow(app, what);
        return;
    }
    CheckText(app.Text(GetDlgItem(box, kMessageBoxText)), text, what + ": box text");
    Check(GetWindow(box, GW_OWNER) == app.Dialog(), what + ": the box is owned by the dialog");
    HICON errorIcon = LoadIconA(nullptr, IDI_HAND);
    Check(WaitUntilIconShownIn(GetDlgItem(box, kMessageBoxIcon), errorIcon,
                               GetSystemMetrics(SM_CXICON), kWaitMs),
          what + ": the box shows the error icon");
    int buttons = 0;
    HWND ok = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof(name));
        if (lstrcmpiA(name, "Button") == 0 && IsWindowVisible(child)) {
            buttons++;
            ok = child;
        }
    }
    Check(buttons == 1 && GetDlgCtrlID(ok) == IDOK && app.Text(ok) == "OK",
          what + ": the box has one button, OK");
    app.Click(GetDlgItem(box, IDOK));
    Check(app.WaitUntilGone(box) && app.Settle(), what + ": OK closes the box");
}

void CheckNoOtherWindow(AppSession& app, const std::string& what) {
    std::vector<HWND> others = app.OtherDialogs();
    std::string titles;
    for (HWND window : others) {
        titles += " \"" + Printable(app.Text(window)) + "\"";
    }
    Check(others.empty(), what + ": no box or chooser is open" +
                              (titles.empty() ? "" : " (found" + titles + ")"));
}

void ConvertAndCheckOutput(AppSession& app, const std::string& directory,
                           const std::string& source, const std::string& what) {
    if (!Check(app.IsItemEnabled(IDC_CONVERT), what + ": \"Convert\" is enabled to press")) {
        return;
    }
    std::vector<std::string> filesBefore = ListFiles(directory);
    // The name's time is taken during the press, so it must lie within these bounds; a
    // local-time name is hours away under the zone the tests run in.
    int64_t before = UtcNowMs();
    app.ClickItem(IDC_CONVERT);
    bool settled = app.Settle();
    int64_t after = UtcNowMs();
    Check(settled, what + ": the conversion finishes");
    CheckNoOtherWindow(app, what);

    std::vector<std::string> filesAfter = ListFiles(directory);
    std::vector<std::string> outputs;
    for (const std::string& name : filesAfter) {
        if (std::find(filesBefore.begin(), filesBefore.end(), name) == filesBefore.end()) {
            outputs.push_back(name);
        }
    }
    if (!Check(outputs.size() == 1 && filesAfter.size() == filesBefore.size() + 1,
               what + ": exactly one new file appears in " + directory)) {
        return;
    }
    int64_t stamp = OutputNameTimeMs(outputs[0]);
    Check(stamp >= before && stamp <= after,
          what + ": " + outputs[0] + " is named after the UTC time of the conversion");
    std::string written;
    bool read = ReadFileBytes(JoinPath(directory, outputs[0]), &written);
    Check(read && written == ExpectedConversion(source),
          what + ": it holds the converted bytes (" + std::to_string(written.size()) + " bytes)");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), "", what + ": the path field is emptied");
    Check(!app.IsItemEnabled(IDC_CONVERT), what + ": \"Convert\" is disabled again");
    // Pressing "Convert" focused it; a disabled button must not keep the keyboard's focus.
    Check(app.FocusedWindow() == app.Item(IDC_SETTINGS_PATH),
          what + ": the focus is back in the path field");
}

void CheckNoOutput(const std::string& directory, size_t others, const std::string& what) {
    size_t found = ListFiles(directory).size();
    Check(found == others, what + ": no file is written to " + directory + " (" +
                               std::to_string(found) + " there, " + std::to_string(others) +
                               " expected)");
}
