// Boxes live in the desktop layer as children of the shell's desktop window; while the user drags a
// box by its title it is a top-level popup. SetBoxPos is the one way to move or size a box.
#include "boxes/desktop_attach_win.h"

#include "boxes/box_rules.h"

namespace {

constexpr UINT kSpawnWorkerMsg = 0x052C; // the shell's private message: make the worker window
constexpr LONG_PTR kPopupOrChild = static_cast<LONG_PTR>(WS_POPUP | WS_CHILD);
constexpr UINT kShowFlags = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE;

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

void AttachBoxToDesktop(HWND hwnd) {
    HWND progman = FindWindowW(L"Progman", nullptr);
    if (!progman) return;
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(progman, kSpawnWorkerMsg, 0x0D, 1, SMTO_ABORTIFHUNG, 1000, &reply);
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    SetWindowLongPtrW(hwnd, GWL_STYLE, (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~kPopupOrChild) | WS_CHILD);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      GetWindowLongPtrW(hwnd, GWL_EXSTYLE) &
                          ~static_cast<LONG_PTR>(WS_EX_LAYERED | WS_EX_TOOLWINDOW));
    if (HWND worker = FindWorkerW2(progman)) SetParent(hwnd, worker);
    SetParent(hwnd, progman);
    POINT corner = {rc.left, rc.top};
    ScreenToClient(progman, &corner);
    SetWindowPos(hwnd, HWND_TOP, corner.x, corner.y, rc.right - rc.left, rc.bottom - rc.top, kShowFlags);
}

void DetachFromDesktop(HWND hwnd) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    SetWindowLongPtrW(hwnd, GWL_STYLE,
                      (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~kPopupOrChild) |
                          static_cast<LONG_PTR>(WS_POPUP));
    // A top-level box gets no taskbar button, also while the user moves it.
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetParent(hwnd, nullptr);
    SetWindowPos(hwnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, kShowFlags);
}

void ShowBoxOnDesktop(HWND hwnd) {
    AttachBoxToDesktop(hwnd);
    // Without the shell's desktop window nothing was attached: the box stays a popup, but shown.
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

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
