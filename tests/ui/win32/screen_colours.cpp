#include "ui/win32/screen_colours.h"

#include <cstdio>
#include <cstdlib>

std::vector<COLORREF> screenPixelsOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const auto *bgrx = static_cast<const BYTE *>(bits);
        for (int i = 0; i < width * height; ++i) {
            pixels.push_back(RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::string hexOf(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

Drawn drawnOf(HWND control) {
    Drawn drawn;
    for (COLORREF pixel : screenPixelsOf(control)) {
        ++drawn.seen[pixel];
    }
    int most = 0;
    for (const auto &[colour, count] : drawn.seen) {
        if (count > most) {
            most = count;
            drawn.background = colour;
        }
    }
    auto distance = [&](COLORREF colour) {
        return std::abs(GetRValue(colour) - GetRValue(drawn.background)) +
               std::abs(GetGValue(colour) - GetGValue(drawn.background)) +
               std::abs(GetBValue(colour) - GetBValue(drawn.background));
    };
    drawn.ink = drawn.background;
    for (const auto &[colour, count] : drawn.seen) {
        if (distance(colour) > distance(drawn.ink)) {
            drawn.ink = colour;
        }
    }
    return drawn;
}

bool setDistinctSystemColours() {
    // None is Wine's default black, so that a text in a colour of its own
    // (or the default) shows.
    const int elements[] = {COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_GRAYTEXT,
                            COLOR_WINDOW,     COLOR_BTNFACE, COLOR_INFOBK};
    const COLORREF colours[] = {RGB(0, 0, 110),     RGB(0, 90, 0),      RGB(140, 110, 40),
                                RGB(255, 255, 236), RGB(196, 212, 232), RGB(255, 236, 180)};
    SetSysColors(6, elements, colours);
    bool distinct = true;
    for (int i = 0; i < 6; ++i) {
        distinct = distinct && GetSysColor(elements[i]) == colours[i];
    }
    return distinct;
}
