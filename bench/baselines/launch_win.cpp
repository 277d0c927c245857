// Starts a program and prints how long, in milliseconds, it took until the program's thread answered
// a message sent to its first window of the given class: the thread answers only once it waits in
// its message loop again, so everything it drew during start-up is done by then. Then the process
// id. The program keeps running. Usage: launch.exe <program> <working folder> <window class>
#include <windows.h>

#include <cstdio>

namespace {

struct Find {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK Each(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[128] = {};
    GetClassNameW(w, cls, 128);
    if (pid == f->pid && lstrcmpW(cls, f->cls) == 0) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, argv[2], &si, &pi)) return 1;
    Find f = {pi.dwProcessId, argv[3], nullptr};
    for (int i = 0; i < 60000 && !f.found; ++i) {
        EnumWindows(Each, reinterpret_cast<LPARAM>(&f));
        if (!f.found) Sleep(1);
    }
    DWORD_PTR result = 0;
    const bool answered = f.found && SendMessageTimeoutW(f.found, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
    QueryPerformanceCounter(&t1);
    const double ms = (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart;
    std::printf("%.0f %lu %d\n", ms, pi.dwProcessId, answered ? 1 : 0);
    std::fflush(stdout);
    return answered ? 0 : 1;
}
