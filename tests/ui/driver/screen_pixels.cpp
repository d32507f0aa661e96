#include "screen_pixels.h"

#include <vector>

namespace {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> data;  // 0x00RRGGBB, top row first
    DWORD At(int x, int y) const { return data[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// Runs `paint` on a 32-bit top-down bitmap of the given size and returns its pixels.
template <typename Paint>
Pixels PaintPixels(int width, int height, Paint paint) {
    Pixels pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, screen);
        GdiFlush();
        pixels.width = width;
        pixels.height = height;
        const DWORD* first = static_cast<const DWORD*>(bits);
        pixels.data.assign(first, first + static_cast<size_t>(width) * height);
        SelectObject(memory, old);
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    if (memory) {
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels DrawIconOn(HICON icon, int size, COLORREF background) {
    return PaintPixels(size, size, [&](HDC memory, HDC) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, size, size};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
}

}  // namespace

bool IsIconShownIn(HWND window, HICON icon, int size) {
    RECT area;
    if (!icon || !GetWindowRect(window, &area)) {
        return false;
    }
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width < size || height < size) {
        return false;
    }
    Pixels screen = PaintPixels(width, height, [&](HDC memory, HDC screenDc) {
        BitBlt(memory, 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY);
    });
    // A pixel that comes out the same on black and on white is an opaque pixel of the icon.
    Pixels onBlack = DrawIconOn(icon, size, RGB(0, 0, 0));
    Pixels onWhite = DrawIconOn(icon, size, RGB(255, 255, 255));
    if (screen.data.empty() || onBlack.data.empty() || onWhite.data.empty()) {
        return false;
    }
    for (int top = 0; top + size <= height; top++) {
        for (int left = 0; left + size <= width; left++) {
            bool matches = true;
            int compared = 0;
            for (int y = 0; y < size && matches; y++) {
                for (int x = 0; x < size && matches; x++) {
                    if (onBlack.At(x, y) != onWhite.At(x, y)) {
                        continue;
                    }
                    compared++;
                    matches = screen.At(left + x, top + y) == onBlack.At(x, y);
                }
            }
            if (matches && compared > 0) {
                return true;
            }
        }
    }
    return false;
}

bool WaitUntilIconShownIn(HWND window, HICON icon, int size, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!IsIconShownIn(window, icon, size)) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}
