// The dialog by itself: how it starts, the keys that must do nothing, and every way out.
#include <windows.h>

#include "app_session.h"
#include "case_steps.h"
#include "cases.h"
#include "check.h"
#include "resource.h"
#include "screen_pixels.h"
#include "test_files.h"

void RunStartStateCase(const CaseContext& context) {
    AppSession app(context.program, context.caseDir);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }
    CheckText(app.Text(app.Dialog()), kMainCaption, "caption");
    Check(GetForegroundWindow() == app.Dialog(), "the dialog is the active window");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), "", "the path field starts empty");
    Check(app.FocusedWindow() == app.Item(IDC_SETTINGS_PATH), "the path field has the focus");
    Check(!app.IsItemEnabled(IDC_CONVERT), "\"Convert\" starts disabled");
    Check(app.IsItemEnabled(IDC_BROWSE) && app.IsItemEnabled(IDC_CANCEL_BUTTON),
          "\">>\" and \"Cancel\" are enabled");
    CheckText(app.ItemText(IDC_CHANNEL_LABEL), "Channel-Settings", "label");

    // The icon as the program holds it, compared with what the screen shows on ">>".
    HMODULE module = LoadLibraryExA(context.program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HICON icon = module ? static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_BROWSE),
                                                        IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR))
                        : nullptr;
    Check(icon != nullptr, "the browse icon loads from the program");
    Check(WaitUntilIconShownIn(app.Item(IDC_BROWSE), icon, 16, kWaitMs), "\">>\" shows the browse icon");
    CheckNoOtherWindow(app, "at start");
    if (icon) {
        DestroyIcon(icon);
    }
    if (module) {
        FreeLibrary(module);
    }
}

namespace {

struct ExitWay {
    const char* name;
    void (*act)(AppSession& app);
};

const ExitWay kExitWays[] = {
    {"\"Cancel\"", [](AppSession& app) { app.ClickItem(IDC_CANCEL_BUTTON); }},
    {"Escape in the path field",
     [](AppSession& app) { app.PostKey(app.Item(IDC_SETTINGS_PATH), VK_ESCAPE); }},
    {"the close box",
     [](AppSession& app) { PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"Alt+F4",
     [](AppSession& app) {
         // As the keyboard sends it while Alt is held: a system key with the context bit.
         LPARAM altDown = 1 | (static_cast<LPARAM>(MapVirtualKeyA(VK_F4, MAPVK_VK_TO_VSC)) << 16) |
                          (1 << 29);
         PostMessageA(app.Item(IDC_SETTINGS_PATH), WM_SYSKEYDOWN, VK_F4, altDown);
     }},
};

}  // namespace

void RunExitCase(const CaseContext& context) {
    int run = 0;
    for (const ExitWay& way : kExitWays) {
        std::string what = way.name;
        std::string directory = JoinPath(context.caseDir, "run" + std::to_string(run++));
        MakeDirectory(directory);
        std::string source = JoinPath(directory, "source.bin");
        WriteFileBytes(source, MakeConvertibleBytes(run));
        AppSession app(context.program, directory);
        if (!Check(app.Start(), what + ": the dialog appears")) {
            continue;
        }
        // With a file accepted, a stray conversion on the way out would show up.
        Check(TypeAndAccept(app, source), what + ": a valid file is accepted first");
        app.FocusItem(IDC_SETTINGS_PATH);
        app.Settle();
        way.act(app);
        DWORD exitCode = 0;
        bool ended = app.WaitForExit(kWaitMs, &exitCode);
        Check(ended, what + " ends the program");
        Check(ended && exitCode == 0, what + ": exit code 0 (" + std::to_string(exitCode) + ")");
        CheckNoOutput(directory, 1, what);
    }
}

void RunEnterKeyCase(const CaseContext& context) {
    std::string source = JoinPath(context.caseDir, "source.bin");
    WriteFileBytes(source, MakeConvertibleBytes(1));
    AppSession app(context.program, context.caseDir);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }
    Check(TypeAndAccept(app, source), "a valid file is accepted, \"Convert\" enabled");
    app.FocusItem(IDC_SETTINGS_PATH);
    app.Settle();
    Check(app.FocusedWindow() == app.Item(IDC_SETTINGS_PATH), "the path field has the focus");
    app.PostKey(app.Item(IDC_SETTINGS_PATH), VK_RETURN);
    Check(app.Settle(), "Enter is handled");
    Check(app.IsRunning(), "Enter does not end the program");
    CheckNoOtherWindow(app, "after Enter");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), source, "after Enter the field keeps its text");
    Check(app.IsItemEnabled(IDC_CONVERT), "after Enter \"Convert\" is still enabled");
    CheckNoOutput(context.caseDir, 1, "after Enter");
}
