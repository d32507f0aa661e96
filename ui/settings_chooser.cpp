#include "settings_chooser.h"

#include <commdlg.h>

#include <cstddef>
#include <vector>

#include "resource.h"

namespace {

// Room for any path the chooser can return, far beyond MAX_PATH.
constexpr DWORD kFileNameCapacity = 32768;

static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, pvReserved) == 76,
              "the 32-bit program hands the chooser the 76-byte request");

const char kSettingsFilter[] = "BIN file (*.bin)\0*.bin\0All files (*.*)\0*.*\0";

}  // namespace

int ChooseSettingsFile(HWND dialog, int browseButtonId) {
    std::vector<char> fileName(kFileNameCapacity, '\0');

    OPENFILENAMEA request = {};
    // The layout without the later extension fields: the chooser of every Windows version
    // accepts it, and the constant is right for each pointer size.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = dialog;
    request.lpstrFilter = browseButtonId == IDC_BROWSE ? kSettingsFilter : nullptr;
    request.nFilterIndex = 1;
    request.lpstrFile = fileName.data();
    request.nMaxFile = kFileNameCapacity;
    request.lpstrTitle = "Quimel SettingsConverter";
    // OFN_NOCHANGEDIR: converted files go to the directory the program started in, so
    // browsing must not move the working directory.
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;

    if (GetOpenFileNameA(&request)) {
        SetDlgItemTextA(dialog, browseButtonId - 1, fileName.data());
    }
    return 1;
}
