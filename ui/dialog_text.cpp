#include "dialog_text.h"

#include <climits>
#include <vector>

std::string ReadDialogItemText(HWND dialog, int itemId) {
    HWND item = GetDlgItem(dialog, itemId);
    if (!item) {
        return std::string();
    }
    // The length is only a hint (it may count a multibyte text generously, and the text
    // may change between the calls), so the buffer grows until the text fits with room
    // to spare: a text that fills the buffer may have been cut.
    size_t size = static_cast<size_t>(GetWindowTextLengthA(item)) + 2;
    for (;;) {
        std::vector<char> buffer(size);
        UINT copied = GetDlgItemTextA(dialog, itemId, buffer.data(), static_cast<int>(size));
        if (copied + 1 < size || size > INT_MAX / 2) {
            return std::string(buffer.data(), copied);
        }
        size *= 2;
    }
}
