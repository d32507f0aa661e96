// ">>": the chooser, the check that follows it, and the boxes a rejected file brings.
#include <windows.h>

#include <string>

#include "app_session.h"
#include "case_steps.h"
#include "cases.h"
#include "check.h"
#include "resource.h"
#include "test_files.h"

namespace {

constexpr int kChooserTypes = 0x470;     // cmb1
constexpr int kChooserReadOnly = 0x410;  // chk1

// Read as UTF-16: Wine 8 hands a cross-process CB_GETLBTEXT sent with SendMessageA back
// unconverted, as UTF-16.
std::string ComboItem(HWND combo, int index) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_NORMAL, kWaitMs, &length);
    if (length == static_cast<DWORD_PTR>(CB_ERR)) {
        return "<none>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, kWaitMs, &copied);
    text.resize(copied == static_cast<DWORD_PTR>(CB_ERR) ? 0 : copied);
    std::string ascii;
    for (wchar_t c : text) {
        ascii += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return ascii;
}

void CheckChooserRequest(AppSession& app, HWND chooser) {
    CheckText(app.Text(chooser), kChooserTitle, "chooser title");
    CheckText(app.Text(ChooserFileNameEdit(chooser)), "", "the chooser starts with no file name");
    Check(GetWindow(chooser, GW_OWNER) == app.Dialog(), "the chooser is owned by the dialog");
    HWND types = GetDlgItem(chooser, kChooserTypes);
    DWORD_PTR count = 0;
    DWORD_PTR selected = 0;
    SendMessageTimeoutA(types, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kWaitMs, &count);
    SendMessageTimeoutA(types, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kWaitMs, &selected);
    Check(count == 2, "the chooser offers two file types (" + std::to_string(count) + ")");
    CheckText(ComboItem(types, 0), "BIN file (*.bin)", "first file type");
    CheckText(ComboItem(types, 1), "All files (*.*)", "second file type");
    Check(selected == 0, "the first file type is selected");
    HWND readOnly = GetDlgItem(chooser, kChooserReadOnly);
    Check(readOnly && IsWindowVisible(readOnly), "the chooser shows its read-only check box");
}

}  // namespace

void RunChooserOtherDirCase(const CaseContext& context) {
    std::string start = JoinPath(context.caseDir, "start");
    std::string other = JoinPath(context.caseDir, "other");
    MakeDirectory(start);
    MakeDirectory(other);
    std::string bytes = MakeConvertibleBytes(3);
    std::string source = JoinPath(other, "source.bin");
    WriteFileBytes(source, bytes);

    AppSession app(context.program, start);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }
    HWND chooser = OpenChooser(app);
    if (!chooser) {
        return;
    }
    CheckChooserRequest(app, chooser);
    // As a user browses: into the other folder first, then the file by its bare name.
    PressInChooser(app, chooser, other, IDOK);
    Check(IsWindowVisible(chooser), "opening a folder keeps the chooser open");
    PressInChooser(app, chooser, "source.bin", IDOK);
    Check(app.WaitUntilGone(chooser) && app.Settle(), "opening the file closes the chooser");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), source, "the chosen path is in the field");
    Check(app.IsItemEnabled(IDC_CONVERT), "\"Convert\" is enabled");
    CheckNoOtherWindow(app, "after choosing a valid file");

    ConvertAndCheckOutput(app, start, bytes, "converted into the start directory");
    CheckNoOutput(other, 1, "the chosen file's directory");
    std::string unchanged;
    Check(ReadFileBytes(source, &unchanged) && unchanged == bytes, "the chosen file is unchanged");
}

void RunChooserCancelledCase(const CaseContext& context) {
    std::string bytes = MakeConvertibleBytes(4);
    std::string source = JoinPath(context.caseDir, "typed.bin");
    WriteFileBytes(source, bytes);
    AppSession app(context.program, context.caseDir);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }

    Check(BrowseAndCancel(app), "empty field: the chooser is cancelled");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), "", "empty field: the field stays empty");
    Check(!app.IsItemEnabled(IDC_CONVERT), "empty field: \"Convert\" stays disabled");
    CheckNoOtherWindow(app, "empty field");
    CheckNoOutput(context.caseDir, 1, "empty field");

    std::string missing = JoinPath(context.caseDir, "missing.bin");
    app.SetItemText(IDC_SETTINGS_PATH, missing);
    Check(BrowseAndCancel(app), "missing file: the chooser is cancelled");
    CheckErrorBox(app, kCheckCaption, kCannotReadText, "missing file");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), missing, "missing file: the field keeps it");
    Check(!app.IsItemEnabled(IDC_CONVERT), "missing file: \"Convert\" stays disabled");

    app.SetItemText(IDC_SETTINGS_PATH, source);
    Check(BrowseAndCancel(app), "typed path: the chooser is cancelled");
    CheckText(app.ItemText(IDC_SETTINGS_PATH), source, "typed path: the field keeps it");
    Check(app.IsItemEnabled(IDC_CONVERT), "typed path: the check enables \"Convert\"");
    CheckNoOtherWindow(app, "typed path");
    ConvertAndCheckOutput(app, context.caseDir, bytes, "typed path converted");
}

namespace {

struct RejectedFile {
    const char* what;
    size_t size;
    unsigned char signature[4];
};

const RejectedFile kRejectedFiles[] = {
    {"signature 2C 02 00 00", kConvertibleSize, {0x2C, 0x02, 0x00, 0x00}},
    {"signature 2C 01 00 01", kConvertibleSize, {0x2C, 0x01, 0x00, 0x01}},
    {"already converted, 2C 05 00 00", kConvertibleSize, {0x2C, 0x05, 0x00, 0x00}},
    {"8025 bytes, one short of a settings-file", 8025, {0x2C, 0x01, 0x00, 0x00}},
    {"8 bytes ending in 2C 01", 8, {0x2C, 0x01, 0x00, 0x00}},
    {"empty", 0, {0x2C, 0x01, 0x00, 0x00}},
};

}  // namespace

void RunRejectedCase(const CaseContext& context) {
    AppSession app(context.program, context.caseDir);
    if (!Check(app.Start(), "the dialog appears")) {
        return;
    }
    std::string lastRejected;
    int index = 0;
    for (const RejectedFile& file : kRejectedFiles) {
        std::string path = JoinPath(context.caseDir, "rejected" + std::to_string(index++) + ".bin");
        WriteFileBytes(path, MakeSettingsBytes(file.size, file.signature, index));
        app.SetItemText(IDC_SETTINGS_PATH, path);
        BrowseAndCancel(app);
        CheckErrorBox(app, kCheckCaption, kNotValidText, file.what);
        CheckText(app.ItemText(IDC_SETTINGS_PATH), path, std::string(file.what) + ": field kept");
        Check(!app.IsItemEnabled(IDC_CONVERT), std::string(file.what) + ": \"Convert\" stays disabled");
        lastRejected = path;
    }

    std::string valid = JoinPath(context.caseDir, "valid.bin");
    WriteFileBytes(valid, MakeConvertibleBytes(5));
    Check(TypeAndAccept(app, valid), "a valid file enables \"Convert\"");
    app.SetItemText(IDC_SETTINGS_PATH, lastRejected);
    BrowseAndCancel(app);
    CheckErrorBox(app, kCheckCaption, kNotValidText, "rejected after accepted");
    Check(app.IsItemEnabled(IDC_CONVERT), "rejected after accepted: \"Convert\" stays enabled");
    CheckNoOutput(context.caseDir, index + 1, "checks alone");
}
