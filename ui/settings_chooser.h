// The open-file chooser behind a browse button.
#pragma once

#include <windows.h>

// Lets the user pick an existing file and puts its path into the edit control whose id
// is one less than `browseButtonId`; cancelling leaves that control as it was. The
// process's working directory is left where it was. Always returns 1.
int ChooseSettingsFile(HWND dialog, int browseButtonId);
