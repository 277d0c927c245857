// The boxes following their folder, on the program's own watch, boxes and main loop:
//   one change: a file made, renamed, deleted on a desktop of N entries; the main loop's time from
//               the notice to the boxes drawn (taking up the changes, drawing) and the wall time
//               from the change on disk to the boxes drawn;
//   steady:     a file made every second for `seconds`: the process's CPU;
//   storm:      5,000 files made, 2,000 renamed, 2,000 deleted in 10 s beside N entries: the
//               longest time a message sent from another thread waited for its answer, the time
//               from the storm's end until the boxes show what the folder holds, and the CPU.
// Usage: watch_bench.exe [entries=1000,10000] [seconds=20] [storm entries=1000]
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/watch_win.h"
#include "bench_box_win.h"
#include "render/paint_win.h"
#include "app/startup_win.h"
#include "inventory/inventory_win.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

const wchar_t* Ext(int i) { return i % 10 == 1 ? L".png" : i % 10 == 2 ? L".zip" : L".txt"; }

void Write(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(f, "x", 1, &w, nullptr);
    CloseHandle(f);
}

std::wstring g_root;

void FreshDesktop(int entries) {
    g_root = std::wstring(_wgetenv(L"TEMP")) + L"\\bc-watch-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(g_root.c_str(), nullptr);
    g_desktop = g_root + L"\\Desktop" + std::to_wstring(entries);
    g_hidden = HiddenStoreFor(g_desktop);
    CreateDirectoryW(g_desktop.c_str(), nullptr);
    EnsureHiddenStore(g_hidden);
    for (int i = 0; i < entries; ++i) Write(g_desktop + L"\\条目 " + std::to_wstring(i) + Ext(i));
}

std::set<std::wstring> Shown() {
    std::set<std::wstring> out;
    for (const BoxWin* b : g_boxes)
        for (const Item& i : b->items) out.insert(i.name);
    return out;
}

std::set<std::wstring> OnDisk() {
    std::set<std::wstring> out;
    std::vector<DirEntry> listing;
    ListFolder(g_desktop, listing);
    for (const auto& e : listing)
        if (!SkipInScan(e.name) && !IsHiddenStoreName(e.name)) out.insert(e.name);
    return out;
}

// The main loop's turns until `done` holds (or `cap` seconds); busy: the time the turns spent outside their wait.
double g_drawMs = 0; // of the busy time, drawing
template <class Done> bool Loop(Done done, double* busyMs, int cap = 20) {
    const UINT_PTR tick = SetTimer(nullptr, 0, 100, nullptr);
    const auto end = Clock::now() + std::chrono::seconds(cap);
    bool ok = false;
    while (!(ok = done()) && Clock::now() < end) {
        const auto t0 = Clock::now();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (FollowFolderChanges()) { // as the main loop: messages first, then the drawing
            if (busyMs) *busyMs += Ms(Clock::now() - t0);
            continue;
        }
        const auto t1 = Clock::now();
        DrawMarkedBoxes(true);
        g_drawMs += Ms(Clock::now() - t1);
        if (busyMs) *busyMs += Ms(Clock::now() - t0);
        WaitForMessagesOrChanges();
    }
    KillTimer(nullptr, tick);
    return ok;
}

void SettleBriefly() {
    const auto end = Clock::now() + std::chrono::milliseconds(2500);
    Loop([&] { return Clock::now() >= end; }, nullptr);
}

void MakeBoxes() {
    ScanAll();
    for (size_t i = 0; i < g_groups.size(); ++i) CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));
    StartFolderWatch();
    DrawMarkedBoxes();
}

double ProcessCpuMs() {
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    const auto t = [](FILETIME f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e4; };
    return t(k) + t(u);
}

void OneChange(int entries) {
    FreshDesktop(entries);
    MakeBoxes();
    SettleBriefly();
    const std::wstring made = g_desktop + L"\\新文件.txt", renamed = g_desktop + L"\\改名后的文件.txt";
    struct Step {
        const char* what;
        std::function<void()> act;
        std::function<bool(const std::set<std::wstring>&)> shown;
    } steps[] = {
        {"made", [&] { Write(made); }, [](const std::set<std::wstring>& s) { return s.count(L"新文件.txt") > 0; }},
        {"renamed", [&] { MoveFileW(made.c_str(), renamed.c_str()); },
         [](const std::set<std::wstring>& s) { return s.count(L"改名后的文件.txt") && !s.count(L"新文件.txt"); }},
        {"deleted", [&] { DeleteFileW(renamed.c_str()); },
         [](const std::set<std::wstring>& s) { return !s.count(L"改名后的文件.txt"); }},
    };
    for (Step& s : steps) {
        double busy = 0;
        g_drawMs = 0;
        const auto t0 = Clock::now();
        s.act();
        const bool ok = Loop([&] { return s.shown(Shown()) && !AnyBoxMarked(); }, &busy);
        std::printf("%6d entries, one file %-8s main loop busy %7.1f ms (drawing %7.1f), change to drawn %7.1f ms%s\n",
                    entries, s.what, busy, g_drawMs, Ms(Clock::now() - t0), ok ? "" : "  (NOT SHOWN)");
        std::fflush(stdout);
        SettleBriefly();
    }
}

void Steady(int entries, int seconds) {
    FreshDesktop(entries);
    MakeBoxes();
    SettleBriefly();
    std::atomic<bool> stop{false};
    const double cpu0 = ProcessCpuMs();
    const auto t0 = Clock::now();
    std::thread maker([&] {
        for (int i = 0; i < seconds && !stop; ++i) {
            Write(g_desktop + L"\\每秒 " + std::to_wstring(i) + L".txt");
            Sleep(1000);
        }
        stop = true;
    });
    Loop([&] { return stop.load(); }, nullptr);
    maker.join();
    const double wall = Ms(Clock::now() - t0), cpu = ProcessCpuMs() - cpu0;
    std::printf("%6d entries, a file made every second for %d s: CPU %.1f %% of a core\n", entries, seconds, 100 * cpu / wall);
}

LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

void Storm(int entries) {
    FreshDesktop(entries);
    MakeBoxes();
    SettleBriefly();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WatchBenchProbe";
    RegisterClassW(&wc);
    HWND probe = CreateWindowW(L"WatchBenchProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    std::atomic<bool> stormDone{false}, stopProbe{false}, probeDone{false};
    std::atomic<double> longest{0};
    std::thread prober([&] {
        while (!stopProbe) {
            const auto t = Clock::now();
            DWORD_PTR r = 0;
            SendMessageTimeoutW(probe, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
            longest = std::max(longest.load(), Ms(Clock::now() - t));
            Sleep(16);
        }
        probeDone = true;
    });
    const double cpu0 = ProcessCpuMs();
    const auto t0 = Clock::now();
    Clock::time_point stormEnd;
    std::thread storm([&] {
        // 100 ticks of 100 ms: 50 made, 20 renamed, 20 deleted in each.
        for (int tick = 0; tick < 100; ++tick) {
            const auto next = t0 + std::chrono::milliseconds(100 * (tick + 1));
            for (int k = 0; k < 50; ++k) {
                const int i = tick * 50 + k;
                Write(g_desktop + L"\\风暴 " + std::to_wstring(i) + Ext(i));
            }
            for (int k = 0; k < 20; ++k) {
                const int i = tick * 20 + k; // made in this tick or before
                const std::wstring from = g_desktop + L"\\风暴 " + std::to_wstring(i) + Ext(i);
                MoveFileW(from.c_str(), (g_desktop + L"\\改名 " + std::to_wstring(i) + Ext(i)).c_str());
                const int d = tick * 20 + k + 2000;
                if (d < tick * 50 + 50) DeleteFileW((g_desktop + L"\\风暴 " + std::to_wstring(d) + Ext(d)).c_str());
            }
            std::this_thread::sleep_until(next);
        }
        for (int d = 2000; d < 4000; ++d) DeleteFileW((g_desktop + L"\\风暴 " + std::to_wstring(d) + Ext(d)).c_str());
        stormEnd = Clock::now();
        stormDone = true;
    });
    std::set<std::wstring> want;
    auto lastLook = Clock::now();
    const bool ok = Loop([&] {
        if (!stormDone) return false;
        if (want.empty()) want = OnDisk();
        if (Clock::now() - lastLook < std::chrono::milliseconds(20)) return false;
        lastLook = Clock::now();
        return Shown() == want && !AnyBoxMarked();
    }, nullptr, 300);
    const double toMatch = Ms(Clock::now() - stormEnd), wall = Ms(Clock::now() - t0), cpu = ProcessCpuMs() - cpu0;
    storm.join();
    // The probe's last message is answered: joining it unanswered would count the join as a hang.
    stopProbe = true;
    while (!probeDone) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    prober.join();
    std::printf("storm beside %d entries (%zu at its end): longest unanswered %.0f ms, boxes match %.0f ms after its end%s, "
                "CPU %.0f %% of a core over %.1f s\n",
                entries, want.size(), longest.load(), toMatch, ok ? "" : " (NEVER)", 100 * cpu / wall, wall / 1000);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<int> sizes = {1000, 10000};
    if (argc > 1) {
        sizes.clear();
        for (const wchar_t* p = argv[1]; *p;) {
            wchar_t* end = nullptr;
            sizes.push_back(static_cast<int>(wcstol(p, &end, 10)));
            p = *end ? end + 1 : end;
        }
    }
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 20;
    const int stormEntries = argc > 3 ? _wtoi(argv[3]) : 1000;
    if (!MakeBenchBox(0)) return 1; // window class, devices, settings
    DestroyAllBoxes();
    for (int n : sizes) {
        OneChange(n);
        DestroyAllBoxes();
    }
    if (seconds > 0) {
        Steady(sizes.back(), seconds);
        DestroyAllBoxes();
    }
    if (stormEntries >= 0) Storm(stormEntries);
    DestroyAllBoxes();
    StopFolderWatch();
    std::wstring from = g_root + L'\0'; // the list ends with two NULs
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
    return 0;
}
