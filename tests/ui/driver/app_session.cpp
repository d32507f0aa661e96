#include "app_session.h"

#include <cstdio>

#include "resource.h"

const char kMainCaption[] = "Quimel SettingsConverter 1.00";

namespace {

constexpr DWORD kPollMs = 20;
const char kDialogClass[] = "#32770";

struct ThreadWindows {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    reinterpret_cast<ThreadWindows*>(context)->windows.push_back(window);
    return TRUE;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

}  // namespace

AppSession::AppSession(const std::string& program, const std::string& workDir)
    : program(program), workDir(workDir) {}

AppSession::~AppSession() {
    if (process.hProcess) {
        if (IsRunning()) {
            printf("  note: ending the program the test left running\n");
            TerminateProcess(process.hProcess, 255);
            WaitForSingleObject(process.hProcess, kWaitMs);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

bool AppSession::Start() {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &startup, &process)) {
        printf("  cannot start %s in %s: error %lu\n", program.c_str(), workDir.c_str(),
               GetLastError());
        process = {};
        return false;
    }
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2 * kWaitMs) {
        dialog = FindMainDialog();
        if (dialog && IsWindowVisible(dialog)) {
            return Settle();
        }
        if (!IsRunning()) {
            printf("  the program ended before showing its dialog\n");
            return false;
        }
        Sleep(kPollMs);
    }
    printf("  the dialog did not appear\n");
    return false;
}

HWND AppSession::FindMainDialog() const {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kDialogClass, kMainCaption)) != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == process.dwProcessId) {
            return window;
        }
    }
    return nullptr;
}

HWND AppSession::Item(int id) const {
    return GetDlgItem(dialog, id);
}

std::string AppSession::Text(HWND window) const {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kWaitMs, &length)) {
        return "<no answer>";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, kWaitMs, &copied);
    text.resize(copied);
    return text;
}

void AppSession::SetItemText(int id, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, kWaitMs, &result);
}

bool AppSession::IsItemEnabled(int id) const {
    return IsWindowEnabled(Item(id)) != FALSE;
}

HWND AppSession::FocusedWindow() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(process.dwThreadId, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

void AppSession::Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void AppSession::PostKey(HWND target, UINT virtualKey) {
    UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
    LPARAM up = down | (1u << 30) | (1u << 31);
    PostMessageA(target, WM_KEYDOWN, virtualKey, down);
    PostMessageA(target, WM_KEYUP, virtualKey, up);
}

void AppSession::FocusItem(int id) {
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

bool AppSession::Settle() {
    // The edit control's "modified" flag is the marker: nothing in the program reads it,
    // and a posted message that sets it is handled only after everything posted before.
    HWND edit = Item(IDC_SETTINGS_PATH);
    DWORD_PTR modified = 0;
    if (!SendMessageTimeoutA(edit, EM_SETMODIFY, FALSE, 0, SMTO_NORMAL, kWaitMs, &modified)) {
        printf("  the program does not answer\n");
        return false;
    }
    PostMessageA(edit, EM_SETMODIFY, TRUE, 0);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kWaitMs) {
        if (!SendMessageTimeoutA(edit, EM_GETMODIFY, 0, 0, SMTO_NORMAL, kWaitMs, &modified)) {
            break;
        }
        if (modified) {
            return true;
        }
        Sleep(kPollMs);
    }
    printf("  the program did not settle\n");
    return false;
}

std::vector<HWND> AppSession::OtherDialogs() const {
    ThreadWindows found;
    EnumThreadWindows(process.dwThreadId, CollectWindow, reinterpret_cast<LPARAM>(&found));
    std::vector<HWND> dialogs;
    for (HWND window : found.windows) {
        // Hidden ones count too: a message box is shown only once its modal loop idles.
        if (window != dialog && ClassOf(window) == kDialogClass) {
            dialogs.push_back(window);
        }
    }
    return dialogs;
}

HWND AppSession::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    do {
        for (HWND window : OtherDialogs()) {
            if (IsWindowVisible(window) && Text(window) == caption) {
                return window;
            }
        }
        Sleep(kPollMs);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool AppSession::WaitUntilGone(HWND window, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(kPollMs);
    }
    return true;
}

bool AppSession::IsRunning() const {
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

bool AppSession::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process.hProcess || WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process.hProcess, exitCode) != FALSE;
}
