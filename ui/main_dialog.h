// The main dialog, IDD_MAIN: a path field, ">>", "Convert" and "Cancel".
#pragma once

#include <windows.h>

// The module whose resources the dialog uses; set by WinMain before the dialog exists.
extern HINSTANCE gInstance;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
