// Reading an edit control's text whole, however long it is.
#pragma once

#include <windows.h>

#include <string>

// The text of the dialog item `itemId`, in the system's code page; empty when the item
// has none or does not exist.
std::string ReadDialogItemText(HWND dialog, int itemId);
