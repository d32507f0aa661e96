// Numbers of the program's resources and of the main dialog's controls. Shared by the
// resource script and the C++ code, so it holds nothing but #define lines.
#pragma once

#define IDD_MAIN 101
#define IDI_BROWSE 113

// A browse button's id is its edit control's id plus one: the chooser relies on it.
#define IDC_SETTINGS_PATH 1031
#define IDC_BROWSE 1032
#define IDC_CHANNEL_LABEL 1033
#define IDC_CANCEL_BUTTON 1034
#define IDC_CONVERT 1035
