// Boxes live in the desktop layer as children of the shell's view that shows the desktop icons, so
// they move with the icons wherever the shell puts them (Show desktop included); while the user drags
// a box by its title it is a top-level popup. SetBoxPos is the one way to move or size a box.
#include "boxes/desktop_attach_win.h"

#include <map>

#include "base/screen_win.h"
#include "boxes/box_rules.h"

namespace {

constexpr UINT kSpawnWorkerMsg = 0x052C; // the shell's private message: make the worker window
constexpr UINT kShellTimeoutMs = 1000;   // the longest the UI thread waits on the shell
constexpr LONG_PTR kPopupOrChild = static_cast<LONG_PTR>(WS_POPUP | WS_CHILD);
constexpr UINT kShowFlags = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE;

HWND g_askedProgman = nullptr; // the desktop window that had the private message already

bool HasClass(HWND hwnd, const wchar_t* cls) {
    wchar_t buf[64] = {};
    GetClassNameW(hwnd, buf, 64);
    return wcscmp(buf, cls) == 0;
}

bool IsShellWorker(HWND hwnd) {
    if (!HasClass(hwnd, L"WorkerW")) return false;
    if (!IsWindowVisible(hwnd)) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (!IsShellImageName(g_processImageName(pid))) return false;
    return FindWindowExW(hwnd, nullptr, L"SHELLDLL_DefView", nullptr) == nullptr;
}

// The parent of a child window; none for a top-level window.
HWND ParentOf(HWND hwnd) {
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
    return GetAncestor(hwnd, GA_PARENT);
}

std::uintptr_t Id(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }
HWND Hwnd(std::uintptr_t id) { return reinterpret_cast<HWND>(id); }

bool ShellClass(const std::wstring& cls) {
    return cls == L"Progman" || cls == L"WorkerW" || cls == L"SHELLDLL_DefView" || cls == L"SysListView32";
}

// Collects windows; a process counts as the shell when it owns the desktop window or runs the
// shell's image. Names are read for windows of the shell's classes only, once per process.
class SnapshotTaker {
  public:
    explicit SnapshotTaker(HWND desktop) {
        if (desktop) shellPids_[PidOf(desktop)] = true;
    }
    std::vector<WinInfo> Take() {
        int budget = 20000; // a z-order that keeps changing under the walk still ends
        for (HWND w = GetTopWindow(nullptr); w && budget-- > 0; w = GetWindow(w, GW_HWNDNEXT)) {
            const WinInfo& info = Add(w, nullptr);
            if (info.shell && (info.cls == L"Progman" || info.cls == L"WorkerW")) AddChildren(w, 2, budget);
        }
        return std::move(out_);
    }

  private:
    static DWORD PidOf(HWND w) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        return pid;
    }
    bool IsShell(HWND w) {
        const DWORD pid = PidOf(w);
        const auto it = shellPids_.find(pid);
        if (it != shellPids_.end()) return it->second;
        return shellPids_[pid] = IsShellImageName(g_processImageName(pid));
    }
    const WinInfo& Add(HWND w, HWND parent) {
        WinInfo info;
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        info.id = Id(w);
        info.cls = cls;
        info.parent = Id(parent);
        info.shell = ShellClass(info.cls) && IsShell(w);
        info.visible = (GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0;
        info.layered = (GetWindowLongPtrW(w, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) != 0;
        RECT r = {};
        GetWindowRect(w, &r);
        info.rect = FromRECT(r);
        out_.push_back(info);
        return out_.back();
    }
    void AddChildren(HWND parent, int levels, int& budget) {
        for (HWND c = GetWindow(parent, GW_CHILD); c && budget-- > 0; c = GetWindow(c, GW_HWNDNEXT)) {
            Add(c, parent);
            if (levels > 1) AddChildren(c, levels - 1, budget);
        }
    }
    std::map<DWORD, bool> shellPids_;
    std::vector<WinInfo> out_;
};

// Once per desktop window: the shell's private message, which on the older layout moves the view into
// a worker window of its own. Never waits longer than a second, nor on a hung shell.
void AskForIconLayer(HWND progman) {
    if (!progman || progman == g_askedProgman) return;
    g_askedProgman = progman;
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(progman, kSpawnWorkerMsg, 0x0D, 1, SMTO_ABORTIFHUNG, kShellTimeoutMs, &reply);
}

// Layered style on a window that just got its parent; false when the system refuses it (a child
// window before Windows 8, or a program whose manifest does not name Windows 8).
bool SetLayeredAfterParent(HWND hwnd) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// A top-level tool window with the given z-order, at the same screen rectangle. The layered style of
// a bitmap box is set again after the parent changed, as for a child.
void MakeTopLevel(HWND hwnd, HWND insertAfter) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    // A top-level box gets no taskbar button, also while the user moves it.
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, (ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED)) | WS_EX_TOOLWINDOW);
    // The child style goes once the window has left its parent.
    if (ParentOf(hwnd)) SetParent(hwnd, nullptr);
    SetWindowLongPtrW(hwnd, GWL_STYLE,
                      (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~kPopupOrChild) | static_cast<LONG_PTR>(WS_POPUP));
    if (ex & WS_EX_LAYERED) SetLayeredAfterParent(hwnd);
    SetWindowPos(hwnd, insertAfter, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, kShowFlags);
}

} // namespace

std::wstring ProcessImageName(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return std::wstring();
    wchar_t buf[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, buf, &size);
    CloseHandle(process);
    return ok ? std::wstring(buf) : std::wstring();
}

ProcessImageNameFn g_processImageName = ProcessImageName;

BOOL CALLBACK FindWorkerCb2(HWND hwnd, LPARAM out) {
    if (!IsShellWorker(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

HWND FindWorkerW2(HWND progman) {
    HWND found = nullptr;
    EnumWindows(FindWorkerCb2, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    for (HWND w = FindWindowExW(progman, nullptr, L"WorkerW", nullptr); w;
         w = FindWindowExW(progman, w, L"WorkerW", nullptr))
        if (IsShellWorker(w)) return w;
    return nullptr;
}

void ForgetAskedDesktop() { g_askedProgman = nullptr; }

HWND ShellDesktopWindow() {
    HWND shell = GetShellWindow();
    if (shell && HasClass(shell, L"Progman")) return shell;
    return FindWindowW(L"Progman", nullptr);
}

std::vector<WinInfo> TakeDesktopSnapshot() { return SnapshotTaker(ShellDesktopWindow()).Take(); }

DesktopWindows FindDesktopWindows() {
    const DesktopHost host = ChooseDesktopHost(TakeDesktopSnapshot());
    return {host.kind, Hwnd(host.parent), Hwnd(host.progman), Hwnd(host.view), Hwnd(host.iconView)};
}

void AttachBoxToDesktop(HWND hwnd) {
    AskForIconLayer(ShellDesktopWindow());
    const DesktopWindows host = FindDesktopWindows();
    if (!host.parent) {
        // No desktop yet: below every other window until one appears.
        MakeTopLevel(hwnd, HWND_BOTTOM);
        return;
    }
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~kPopupOrChild) | WS_CHILD);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED | WS_EX_TOOLWINDOW));
    SetParent(hwnd, host.parent);
    // A bitmap box is a layered child; the compositor takes the style only once the parent is set.
    if ((ex & WS_EX_LAYERED) && !SetLayeredAfterParent(hwnd)) {
        MakeTopLevel(hwnd, HWND_BOTTOM);
        return;
    }
    POINT corner = {rc.left, rc.top};
    ScreenToClient(host.parent, &corner);
    SetWindowPos(hwnd, HWND_TOP, corner.x, corner.y, rc.right - rc.left, rc.bottom - rc.top, kShowFlags);
}

void DetachFromDesktop(HWND hwnd) { MakeTopLevel(hwnd, HWND_TOP); }

void ShowBoxOnDesktop(HWND hwnd) { AttachBoxToDesktop(hwnd); }

void SetBoxPos(HWND hwnd, int x, int y, int cx, int cy, UINT flags) {
    POINT to = {x, y};
    if (HWND parent = ParentOf(hwnd)) ScreenToClient(parent, &to);
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    const bool samePlace = x == rc.left && y == rc.top;
    const bool sameSize = cx == rc.right - rc.left && cy == rc.bottom - rc.top;
    if (!(flags & (SWP_NOSIZE | SWP_NOMOVE)) && samePlace && sameSize) return;
    if ((flags & SWP_NOSIZE) && samePlace) return;
    SetWindowPos(hwnd, nullptr, to.x, to.y, cx, cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}
