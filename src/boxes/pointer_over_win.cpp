// What lies under the pointer: one WindowFromPoint, class names up the parent chain, and for the
// shell's icon list its own hit test.
#include "boxes/pointer_over_win.h"

#include <commctrl.h>

#include <string>

#include "boxes/box_mouse_win.h"
#include "boxes/box_rules.h"
#include "boxes/desktop_attach_win.h"

namespace {

constexpr UINT kAskMs = 200; // the longest the shell's list may take to answer

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[64] = {};
    if (hwnd) GetClassNameW(hwnd, buf, 64);
    return buf;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

bool IsShells(HWND hwnd) { return IsShellImageName(g_processImageName(ProcessOf(hwnd))); }

bool AskHitTest(HWND view, LPARAM where, DWORD_PTR* index) {
    return SendMessageTimeoutW(view, LVM_HITTEST, 0, where, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAskMs, index) != 0;
}

// LVM_HITTEST reads and writes its structure in the list's own address space.
bool HitTestElsewhere(HWND view, DWORD pid, LVHITTESTINFO* info, DWORD_PTR* index) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof *info, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool ok = remote && WriteProcessMemory(process, remote, info, sizeof *info, nullptr) &&
                    AskHitTest(view, reinterpret_cast<LPARAM>(remote), index) &&
                    ReadProcessMemory(process, remote, info, sizeof *info, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}

} // namespace

PointerOverFn g_pointerOver = WhatIsAt;

bool IconAt(HWND view, POINT screen) {
    LVHITTESTINFO info = {};
    info.pt = screen;
    if (!ScreenToClient(view, &info.pt)) return true;
    const DWORD pid = ProcessOf(view);
    DWORD_PTR index = static_cast<DWORD_PTR>(-1);
    const bool asked = pid == GetCurrentProcessId() ? AskHitTest(view, reinterpret_cast<LPARAM>(&info), &index)
                                                     : HitTestElsewhere(view, pid, &info, &index);
    return !asked || static_cast<int>(index) >= 0;
}

PointerOver WhatIsAt(POINT screen) {
    HWND hwnd = WindowFromPoint(screen);
    HWND root = GetDesktopWindow();
    if (!hwnd || hwnd == root) return PointerOver::EmptyDesktop; // no shell: the bare desktop
    for (HWND w = hwnd; w && w != root; w = GetAncestor(w, GA_PARENT))
        if (LiveBox(w)) return PointerOver::Box;
    const std::wstring cls = ClassOf(hwnd);
    if (cls == L"SysListView32" && ClassOf(GetAncestor(hwnd, GA_PARENT)) == L"SHELLDLL_DefView" && IsShells(hwnd))
        return IconAt(hwnd, screen) ? PointerOver::DesktopIcon : PointerOver::EmptyDesktop;
    if ((cls == L"SHELLDLL_DefView" || cls == L"Progman" || cls == L"WorkerW") && IsShells(hwnd))
        return PointerOver::EmptyDesktop;
    return ProcessOf(hwnd) == GetCurrentProcessId() ? PointerOver::OurWindow : PointerOver::OtherWindow;
}
