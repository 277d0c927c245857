// Box tests that drive the mouse handling with real messages: a main window that collects the
// refresh requests, OLE and the ghost class, and helpers that address boxes in screen coordinates.
#pragma once
#include <ole2.h>

#include "boxes/interaction_win.h"
#include "render/render_win.h"
#include "settings/ini_win.h"
#include "boxes/drop_target_win.h"
#include "win/box_env.h"

inline void RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

class InteractionWorld : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        OleInitialize(nullptr);
        RegisterTestClass(kGhostClass, GhostProc);
        g_hMainWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInst, nullptr);
    }
    void TearDown() override {
        BoxWorld::TearDown();
        g_manualGroups.clear();
        g_freedItems.clear();
        g_boxNames.clear();
        g_hiddenBoxes.clear();
        DestroyWindow(g_hMainWnd);
        g_hMainWnd = nullptr;
        OleUninitialize();
    }
    // Refresh requests posted to the main window since the last call.
    int Refreshes() {
        MSG m;
        int n = 0;
        while (PeekMessageW(&m, g_hMainWnd, WM_REFRESHBOXES, WM_REFRESHBOXES, PM_REMOVE)) ++n;
        return n;
    }
    BoxWin* Make(const std::wstring& key, const std::vector<Item>& items, int x, int y) {
        g_posCache[key] = Rect{x, y, x + 240, y + 360};
        CreateBox(key, items, static_cast<int>(g_boxes.size()));
        return g_boxes.back();
    }
    // A mouse message to a box for a point given in screen coordinates.
    static void At(BoxWin* box, UINT msg, int sx, int sy) {
        POINT p = {sx, sy};
        ScreenToClient(box->hwnd, &p);
        SendMessageW(box->hwnd, msg, msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    // Presses at sx, sy, moves to tx, ty and releases there.
    static void Drag(BoxWin* box, int sx, int sy, int tx, int ty) {
        At(box, WM_LBUTTONDOWN, sx, sy);
        At(box, WM_MOUSEMOVE, (sx + tx) / 2, (sy + ty) / 2);
        At(box, WM_MOUSEMOVE, tx, ty);
        At(box, WM_LBUTTONUP, tx, ty);
    }
    // The centre of item i's cell, screen coordinates.
    static POINT CellCentre(BoxWin* box, int i) {
        RECT c = {};
        GetClientRect(box->hwnd, &c);
        const Rect r = CellRect(box, i, c.right);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(box->hwnd, &p);
        return p;
    }
    std::wstring Ini(const wchar_t* section, const std::wstring& key) {
        return IniGetString(section, key.c_str(), L"-", 256);
    }
};

inline void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

inline Item DeskItem(const std::wstring& folder, const std::wstring& name, const char* text = "x") {
    WriteFileText(folder + L"\\" + name, text);
    const size_t dot = name.rfind(L'.');
    return Item{name, folder + L"\\" + name, false, dot == std::wstring::npos ? L"" : name.substr(dot)};
}
