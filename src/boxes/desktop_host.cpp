#include "boxes/desktop_host.h"

#include <algorithm>

namespace {

const wchar_t* const kProgman = L"Progman";
const wchar_t* const kWorker = L"WorkerW";
const wchar_t* const kView = L"SHELLDLL_DefView";
const wchar_t* const kIconList = L"SysListView32";

using Snapshot = std::vector<WinInfo>;

const WinInfo* Find(const Snapshot& s, std::uintptr_t id) {
    if (id == 0) return nullptr;
    for (const WinInfo& w : s)
        if (w.id == id) return &w;
    return nullptr;
}

const WinInfo* FirstChild(const Snapshot& s, std::uintptr_t parent, const wchar_t* cls) {
    for (const WinInfo& w : s)
        if (w.parent == parent && w.cls == cls) return &w;
    return nullptr;
}

bool TopLevelShell(const WinInfo* w, const wchar_t* cls) { return w && w->parent == 0 && w->shell && w->cls == cls; }

// A view of the shell's in its desktop window or in one of its top-level worker windows.
bool IsShellView(const Snapshot& s, const WinInfo& w, std::uintptr_t progman) {
    if (!w.shell || w.cls != kView) return false;
    const WinInfo* holder = Find(s, w.parent);
    return (holder && holder->id == progman) || TopLevelShell(holder, kWorker);
}

bool Meets(const Rect& a, const Rect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// The icon layer is drawn over the wallpaper: the view, its icon list, the worker window holding it.
bool SeeThrough(const Snapshot& s, const WinInfo& w) {
    if (w.layered) return true;
    if (!w.shell) return false;
    return w.cls == kView || w.cls == kIconList || (w.cls == kWorker && FirstChild(s, w.id, kView));
}

bool PaintsOver(const Snapshot& s, const WinInfo& w, const Rect& r, int depth) {
    if (!w.visible || !Meets(w.rect, r) || depth > 16) return false;
    if (!SeeThrough(s, w)) return true;
    for (const WinInfo& c : s)
        if (c.parent == w.id && PaintsOver(s, c, r, depth + 1)) return true;
    return false;
}

} // namespace

DesktopHost ChooseDesktopHost(const Snapshot& s) {
    DesktopHost host;
    for (const WinInfo& w : s)
        if (TopLevelShell(&w, kProgman)) {
            host.progman = w.id;
            break;
        }
    // A shell that is coming back can show a view in a window that is not shown yet; a shown one wins.
    const WinInfo* view = nullptr;
    int best = -1;
    for (const WinInfo& w : s) {
        if (!IsShellView(s, w, host.progman)) continue;
        const WinInfo* holder = Find(s, w.parent);
        const int score = (w.visible ? 2 : 0) + (holder->visible ? 1 : 0);
        if (score > best) view = &w, best = score;
    }
    if (view) {
        host.view = view->id;
        if (const WinInfo* icons = FirstChild(s, view->id, kIconList)) host.iconView = icons->id;
        // A hidden view would hide its children with it: then the boxes go beside it, above it.
        host.kind = view->visible ? HostKind::View : HostKind::ViewHolder;
        host.parent = view->visible ? view->id : view->parent;
    } else if (host.progman) {
        host.kind = HostKind::ShellWindow;
        host.parent = host.progman;
    }
    return host;
}

bool BoxCovered(const Snapshot& s, std::uintptr_t box) {
    const WinInfo* b = Find(s, box);
    if (!b) return true;
    for (const WinInfo* w = b; w; w = Find(s, w->parent))
        if (!w->visible) return true;
    for (const WinInfo* w = b; w; w = Find(s, w->parent)) {
        // Windows listed before w among its siblings lie above it and are painted after it.
        for (const WinInfo* above = s.data(); above != w; ++above)
            if (above->parent == w->parent && PaintsOver(s, *above, b->rect, 0)) return true;
    }
    return false;
}

unsigned DesktopRetryDelayMs(unsigned attempt, unsigned elapsedMs) {
    if (elapsedMs >= 120000) return 0;
    const unsigned delay = 250u << std::min(attempt, 5u);
    return std::min(delay, 5000u);
}
