// The resources inside the built program: exactly the dialog template and the icon the
// program is drawn from, and nothing else.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "resource.h"

namespace {

struct Reader {
    const unsigned char* data;
    size_t size;
    size_t at = 0;
    bool failed = false;

    unsigned Word() {
        if (at + 2 > size) {
            failed = true;
            return 0;
        }
        unsigned value = data[at] | (data[at + 1] << 8);
        at += 2;
        return value;
    }
    unsigned long Dword() {
        unsigned long low = Word();
        return low | (static_cast<unsigned long>(Word()) << 16);
    }
    int Short() { return static_cast<short>(Word()); }
    // A UTF-16 string, shown as ASCII; an ordinal (0xFFFF, n) becomes "#n".
    std::string StringOrOrdinal() {
        unsigned first = Word();
        if (first == 0xFFFF) {
            return "#" + std::to_string(Word());
        }
        std::string text;
        for (unsigned c = first; c != 0 && !failed; c = Word()) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }
    void AlignDword() { at = (at + 3) & ~static_cast<size_t>(3); }
};

struct ExpectedControl {
    unsigned long style;
    int x, y, cx, cy;
    int id;
    const char* windowClass;  // predefined classes as atoms: #128 button, #129 edit, #130 static
    const char* text;
};

// Child and visible (0x50000000) plus each control's own styles.
const ExpectedControl kControls[] = {
    {0x50020000, 10, 14, 54, 8, IDC_CHANNEL_LABEL, "#130", "Channel-Settings"},  // SS_LEFT, WS_GROUP
    {0x50810080, 69, 10, 198, 14, IDC_SETTINGS_PATH, "#129", ""},  // border, tab stop, ES_AUTOHSCROLL
    {0x50010040, 273, 9, 18, 14, IDC_BROWSE, "#128", ">>"},       // tab stop, BS_ICON
    {0x50010000, 183, 33, 51, 14, IDC_CONVERT, "#128", "Convert"},
    {0x50010000, 240, 33, 51, 14, IDC_CANCEL_BUTTON, "#128", "Cancel"},
};

struct Found {
    std::set<std::string> entries;
};

std::string Name(LPCSTR name) {
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name;
}

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    reinterpret_cast<Found*>(context)->entries.insert(Name(name));
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE, LPSTR type, LONG_PTR context) {
    reinterpret_cast<Found*>(context)->entries.insert(Name(type));
    return TRUE;
}

bool LoadResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, Reader* reader) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        return false;
    }
    reader->data = static_cast<const unsigned char*>(data);
    reader->size = SizeofResource(module, found);
    return true;
}

std::string Hex(unsigned long value) {
    char text[16];
    snprintf(text, sizeof(text), "0x%08lX", value);
    return text;
}

void CheckDialogTemplate(HMODULE module) {
    Reader t{};
    if (!Check(LoadResourceBytes(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_MAIN), &t),
               "dialog 101 is in the program")) {
        return;
    }
    unsigned long style = t.Dword();
    unsigned long exStyle = t.Dword();
    unsigned count = t.Word();
    int x = t.Short(), y = t.Short(), cx = t.Short(), cy = t.Short();
    CheckText(Hex(style), "0x80C808C0", "dialog style");
    CheckText(Hex(exStyle), "0x00000000", "dialog extended style");
    Check(x == 0 && y == 0 && cx == 298 && cy == 58,
          "dialog at 0,0, 298 x 58: " + std::to_string(x) + "," + std::to_string(y) + ", " +
              std::to_string(cx) + " x " + std::to_string(cy));
    CheckText(t.StringOrOrdinal(), "", "dialog menu");
    CheckText(t.StringOrOrdinal(), "", "dialog class");
    CheckText(t.StringOrOrdinal(), "Quimel SettingsConverter 1.00", "dialog caption");
    Check(t.Word() == 8, "dialog font size 8");
    CheckText(t.StringOrOrdinal(), "MS Sans Serif", "dialog font");
    if (!Check(count == 5, "dialog has 5 controls: " + std::to_string(count))) {
        return;
    }
    for (const ExpectedControl& expected : kControls) {
        t.AlignDword();
        unsigned long itemStyle = t.Dword();
        unsigned long itemExStyle = t.Dword();
        int ix = t.Short(), iy = t.Short(), icx = t.Short(), icy = t.Short();
        int id = static_cast<int>(t.Word());
        std::string windowClass = t.StringOrOrdinal();
        std::string text = t.StringOrOrdinal();
        unsigned extra = t.Word();
        t.at += extra;
        std::string name = "control " + std::to_string(expected.id);
        Check(id == expected.id, name + " in its place in the tab order (found " +
                                     std::to_string(id) + ")");
        CheckText(Hex(itemStyle), Hex(expected.style), name + " style");
        CheckText(Hex(itemExStyle), "0x00000000", name + " extended style");
        Check(ix == expected.x && iy == expected.y && icx == expected.cx && icy == expected.cy,
              name + " position and size");
        CheckText(windowClass, expected.windowClass, name + " class");
        CheckText(text, expected.text, name + " text");
    }
    Check(!t.failed && t.at <= t.size, "dialog template read within its size");
}

void CheckBrowseIcon(HMODULE module) {
    Reader group{};
    if (!Check(LoadResourceBytes(module, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDI_BROWSE),
                                 &group),
               "icon group 113 is in the program")) {
        return;
    }
    group.Word();
    unsigned type = group.Word();
    unsigned count = group.Word();
    Check(type == 1 && count == 1, "icon group 113 holds exactly one image");
    unsigned width = group.data[group.at];
    unsigned height = group.data[group.at + 1];
    group.at += 4;
    group.Word();  // planes
    unsigned bits = group.Word();
    group.Dword();  // bytes
    unsigned imageId = group.Word();
    Check(width == 16 && height == 16 && bits == 8, "the image is 16 x 16 with 8 bits per pixel");

    Reader image{};
    if (!Check(LoadResourceBytes(module, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(imageId), &image),
               "the icon image is in the program")) {
        return;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data, sizeof(header));
    Check(header.biWidth == 16 && header.biHeight == 32 && header.biBitCount == 8 &&
              header.biCompression == BI_RGB,
          "the image's bitmap is 16 x 16, 8 bits, with a mask");
    size_t paletteEntries = header.biClrUsed ? header.biClrUsed : 256;
    const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(image.data + header.biSize);
    const unsigned char* colour = image.data + header.biSize + paletteEntries * sizeof(RGBQUAD);
    const unsigned char* mask = colour + 16 * 16;
    if (!Check(mask + 16 * 4 <= image.data + image.size, "the image holds pixels and mask")) {
        return;
    }
    std::set<unsigned long> used;
    int transparent = 0;
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            bool clear = (mask[y * 4 + x / 8] >> (7 - x % 8)) & 1;
            if (clear) {
                transparent++;
                continue;
            }
            const RGBQUAD& c = palette[colour[y * 16 + x]];
            used.insert((c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue);
        }
    }
    const std::set<unsigned long> kFourColours = {0x000000, 0x808000, 0xFFFF00, 0xFFFFFF};
    Check(used == kFourColours, "the icon uses black, olive, yellow and white, and no other colour");
    Check(transparent > 0 && transparent < 256, "the icon's mask leaves its background clear");
}

}  // namespace

void RunResourcesCase(const CaseContext& context) {
    HMODULE module = LoadLibraryExA(context.program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!Check(module != nullptr, "the program loads as a data file")) {
        return;
    }
    Found types;
    EnumResourceTypesA(module, AddType, reinterpret_cast<LONG_PTR>(&types));
    // RT_ICON, RT_DIALOG, RT_GROUP_ICON: no manifest, version block or string table.
    Check(types.entries == std::set<std::string>{"#3", "#5", "#14"},
          "resource types are exactly icon, dialog and icon group");
    Found dialogs;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(5), AddName, reinterpret_cast<LONG_PTR>(&dialogs));
    Check(dialogs.entries == std::set<std::string>{"#101"}, "the only dialog is 101");
    Found groups;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14), AddName, reinterpret_cast<LONG_PTR>(&groups));
    Check(groups.entries == std::set<std::string>{"#113"}, "the only icon group is 113");
    CheckDialogTemplate(module);
    CheckBrowseIcon(module);
    FreeLibrary(module);
}
