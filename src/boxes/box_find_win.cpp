#include "boxes/box_find_win.h"

#include <utility>

#include "boxes/box_input.h"
#include "boxes/box_rules.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "render/paint_win.h"
#include "settings/metrics.h"

namespace {

constexpr UINT kFlashMs = 140;
constexpr int kFlashTicks = 6; // outlined, plain, outlined, ... then plain

// The entry that flashes, found again on every tick by its box's key and its name (a rebuild may
// have made the box anew in between).
struct Flash {
    std::wstring key;
    std::wstring name;
    int ticks = 0;
    UINT_PTR timer = 0;
} g_flash;

BoxWin* FlashingBox(int* index) {
    for (BoxWin* box : g_boxes) {
        if (box->key != g_flash.key) continue;
        for (size_t i = 0; i < box->items.size(); ++i)
            if (box->items[i].name == g_flash.name) {
                *index = static_cast<int>(i);
                return box;
            }
    }
    return nullptr;
}

void CALLBACK FlashTick(HWND, UINT, UINT_PTR, DWORD) {
    int index = -1;
    BoxWin* box = FlashingBox(&index);
    const bool more = ++g_flash.ticks < kFlashTicks && box;
    if (box) {
        box->marked = more && g_flash.ticks % 2 == 0 ? std::vector<int>{index} : std::vector<int>{};
        MarkBoxDirty(box);
    }
    if (!more) KillTimer(nullptr, std::exchange(g_flash.timer, 0));
}

} // namespace

void MarkFoundItems(const std::vector<std::vector<int>>& marks) {
    static const std::vector<int> kNone;
    for (size_t i = 0; i < g_boxes.size(); ++i) {
        BoxWin* box = g_boxes[i];
        const std::vector<int>& want = i < marks.size() ? marks[i] : kNone;
        if (box->marked == want) continue;
        box->marked = want;
        MarkBoxDirty(box);
    }
}

void RevealBoxItem(size_t boxIndex, int item) {
    if (boxIndex >= g_boxes.size()) return;
    BoxWin* box = g_boxes[boxIndex];
    if (item < 0 || static_cast<size_t>(item) >= box->items.size()) return;
    if (!IsWindowVisible(box->hwnd)) ShowBoxWindow(box->hwnd, true);
    if (box->collapsed) { // opens as the box menu opens it
        RECT r = {};
        GetWindowRect(box->hwnd, &r);
        box->collapsed = false;
        const int height = ScaleLen(kExpandedHeight, box->dpi);
        SetBoxPos(box->hwnd, r.left, r.top, box->width, height, 0);
        ResizeBoxRender(box, box->width, height);
    }
    RECT c = {};
    GetClientRect(box->hwnd, &c);
    const BoxMetrics m = BoxMetricsOf(box);
    box->scrollY = ScrollToShow(item, box->scrollY, box->items.size(), c.right, c.bottom, m.cellW, m.cellH, m.dpi);
    box->marked = {item};
    MarkBoxDirty(box);
    if (g_flash.timer) KillTimer(nullptr, g_flash.timer);
    g_flash = Flash{box->key, box->items[static_cast<size_t>(item)].name, 0, 0};
    g_flash.timer = SetTimer(nullptr, 0, kFlashMs, FlashTick);
}
