// Box tests driven by real messages: a main window that collects refresh requests, OLE, the ghost
// class, and helpers that address boxes in screen coordinates.
#pragma once
#include <ole2.h>

#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_win.h"
#include "boxes/drop_target_win.h"
#include "boxes/item_drag_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/ini_win.h"
#include "win/box_env.h"

inline void RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

inline Item DeskItem(const std::wstring& folder, const std::wstring& name) {
    WriteFileText(folder + L"\\" + name, "x");
    return Item{name, folder + L"\\" + name, false, name.substr(name.rfind(L'.'))};
}

// A value of the INI file, "-" when absent.
inline std::wstring Ini(const std::wstring& section, const std::wstring& key) {
    return IniGetString(section.c_str(), key.c_str(), L"-", 300);
}

class InteractionWorld : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        OleInitialize(nullptr);
        g_hMainWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInst, nullptr);
    }
    void TearDown() override {
        BoxWorld::TearDown();
        EXPECT_EQ(RegisteredDropTargets(), 0u) << "every box's drop target goes with it";
        g_manualGroups.clear(), g_freedItems.clear(), g_boxNames.clear(), g_hiddenBoxes.clear();
        DestroyWindow(std::exchange(g_hMainWnd, nullptr));
        OleUninitialize();
    }
    int Refreshes() { // refresh requests posted since the last call
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
    static void At(BoxWin* box, UINT msg, int sx, int sy) { // a mouse message for a screen point
        POINT p = {sx, sy};
        ScreenToClient(box->hwnd, &p);
        SendMessageW(box->hwnd, msg, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    static void Drag(BoxWin* box, POINT from, int tx, int ty) {
        At(box, WM_LBUTTONDOWN, from.x, from.y);
        At(box, WM_MOUSEMOVE, tx, ty);
        At(box, WM_LBUTTONUP, tx, ty);
    }
    static POINT CellCentre(BoxWin* box, int i) { // screen
        RECT c = {};
        GetClientRect(box->hwnd, &c);
        const Rect r = CellRect(box, i, c.right);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(box->hwnd, &p);
        return p;
    }
};
