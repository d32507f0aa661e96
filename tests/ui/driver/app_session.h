// One run of SettingsConverter.exe, driven from outside the way a user would: its windows
// are found by caption and id, clicks and keys are posted, texts read with WM_GETTEXT.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr DWORD kWaitMs = 15000;

class AppSession {
  public:
    AppSession(const std::string& program, const std::string& workDir);
    ~AppSession();  // ends the program if the test left it running
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;

    // Starts the program and waits until its main dialog is visible.
    bool Start();

    HWND Dialog() const { return dialog; }
    HWND Item(int id) const;
    std::string Text(HWND window) const;
    std::string ItemText(int id) const { return Text(Item(id)); }
    void SetItemText(int id, const std::string& text);
    bool IsItemEnabled(int id) const;
    HWND FocusedWindow() const;

    // Posted, never sent: a click that opens a modal window would block the sender.
    void Click(HWND button);
    void ClickItem(int id) { Click(Item(id)); }
    void PostKey(HWND target, UINT virtualKey);
    void FocusItem(int id);

    // Returns once the program has handled everything posted to it so far, or is waiting
    // in a modal window that those messages opened.
    bool Settle();

    // A visible dialog-class window of the program with exactly this caption, other than
    // the main dialog; nullptr when none appears in time.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = kWaitMs) const;
    // Dialog-class windows of the program other than the main dialog, shown or not yet.
    std::vector<HWND> OtherDialogs() const;
    // Waits until the window is destroyed.
    bool WaitUntilGone(HWND window, DWORD timeoutMs = kWaitMs) const;

    bool IsRunning() const;
    // True when the program ended in time; *exitCode is then its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

  private:
    HWND FindMainDialog() const;

    std::string program;
    std::string workDir;
    PROCESS_INFORMATION process = {};
    HWND dialog = nullptr;
};

extern const char kMainCaption[];
