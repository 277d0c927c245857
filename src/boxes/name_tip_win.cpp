// One tooltip window for the program, owned by the main window. Its only tool is the hovered cell,
// and only while that cell's name does not fit: a new cell is a new tool, so the hover delay starts
// again, and the tooltip watches the box's mouse messages itself (it subclasses the window).
#include "boxes/name_tip_win.h"

#include <commctrl.h>
#include <dwrite.h>

#include <string>

#include "base/com_win.h"
#include "base/process_win.h"
#include "boxes/box_input.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/name_layouts_win.h"
#include "render/paint_win.h"
#include "render/scene.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

constexpr int kMaxTipWidth = 400;

HWND g_tip = nullptr;
HWND g_toolWnd = nullptr; // the box window of the current tool, if any
UINT_PTR g_toolId = 0;

HWND Tip() {
    if (g_tip && IsWindow(g_tip)) return g_tip;
    g_tip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, g_hMainWnd, nullptr, g_hInst ? g_hInst : GetModuleHandleW(nullptr),
                            nullptr);
    if (g_tip) SendMessageW(g_tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth); // long names wrap
    return g_tip;
}

void RemoveTool() {
    if (!g_toolWnd) return;
    if (g_tip && IsWindow(g_tip)) {
        TOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = g_toolWnd;
        ti.uId = g_toolId;
        SendMessageW(g_tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    g_toolWnd = nullptr;
}

// Laid out as the box draws it: the name format, in the rectangle the cell gives the name, cut to the
// lines that fit there.
bool NameCut(const BoxWin* box, const std::wstring& name, const Rect& cell) {
    if (!box->nameFormat) return false;
    const BoxMetrics m = BoxMetricsOf(box);
    const RectF r = NameRectIn(cell, m.iconSize, m.nameLine, m.dpi);
    return FittedTextFor(box->nameFormat, name, r.right - r.left, r.bottom - r.top).cut;
}

} // namespace

void FollowHoverWithNameTip(BoxWin* box, int index) {
    RemoveTool();
    if (!box || !box->hwnd || index < 0 || static_cast<size_t>(index) >= box->items.size()) return;
    const std::wstring& name = box->items[static_cast<size_t>(index)].name;
    RECT client = {};
    GetClientRect(box->hwnd, &client);
    const Rect cell = CellRect(box, index, client.right);
    if (!NameCut(box, name, cell) || !Tip()) return;
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = box->hwnd;
    ti.uId = ++g_toolId;
    ti.rect = {cell.left, cell.top, cell.right, cell.bottom};
    ti.lpszText = const_cast<wchar_t*>(name.c_str()); // the tooltip keeps a copy
    if (SendMessageW(g_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) g_toolWnd = box->hwnd;
}

void ForgetNameTip() {
    RemoveTool();
}

HWND NameTipWindow() {
    return g_tip;
}
