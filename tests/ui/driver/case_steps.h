// Steps the cases share: a user's moves in the dialog and the checks of what follows.
#pragma once

#include <cstdint>
#include <string>

#include "app_session.h"

extern const char kChooserTitle[];
extern const char kCheckCaption[];
extern const char kConvertCaption[];
extern const char kNotValidText[];
extern const char kCannotReadText[];
extern const char kCannotWriteText[];

// ">>": returns the chooser once it is up, or nullptr.
HWND OpenChooser(AppSession& app);
// The edit control the user types a file name into: inside a ComboBox inside a
// ComboBoxEx32 in the Explorer-style chooser.
HWND ChooserFileNameEdit(HWND chooser);
// Types into the chooser's file-name box and presses its button `buttonId` (IDOK "Open"
// or IDCANCEL); true once the press has been handled.
bool PressInChooser(AppSession& app, HWND chooser, const std::string& fileName, int buttonId);
// Presses one of the chooser's buttons and waits until it has closed.
bool CloseChooserWith(AppSession& app, HWND chooser, int buttonId);

// ">>", then the chooser is cancelled; waits until everything that follows is done.
bool BrowseAndCancel(AppSession& app);
// ">>", then `path` is typed into the chooser's file-name box and opened.
bool BrowseAndPick(AppSession& app, const std::string& path);
// Types `path` into the field and checks it with ">>" and a cancelled chooser; true when
// "Convert" is enabled afterwards.
bool TypeAndAccept(AppSession& app, const std::string& path);

// Checks that an error box with this caption and text is up, owned by the dialog, with
// the error icon and a single OK button; then presses OK.
void CheckErrorBox(AppSession& app, const std::string& caption, const std::string& text,
                   const std::string& what);
void CheckNoOtherWindow(AppSession& app, const std::string& what);

// Presses "Convert" and checks that it wrote `source`'s conversion into `directory` under
// a name made from the UTC time of the press, as the only new file there.
void ConvertAndCheckOutput(AppSession& app, const std::string& directory,
                           const std::string& source, const std::string& what);
void CheckNoOutput(const std::string& directory, size_t others, const std::string& what);
