// Collect-all of many entries, beside plain moves of as many files in the same run: the total time
// and the longest time the thread left another thread's message unanswered, for
//   plain:  MoveFileW alone, one file after another (the floor);
//   before: per entry an existence check, the move and two shell notices, in one go (as the program
//           did it: nothing is answered until the end);
//   one go: the program's per-entry move with the shell told once, all in one go (no slices);
//   sliced: the program's collect-all in slices from a message loop.
// A second thread sends a message to the loop's thread every `probe` ms (0: without a pause) and
// times each answer. Then a drop of up to 500 files onto a box, beside as many plain moves: as
// before, with its INI writes one by one, and now.
// Usage: collect_bench.exe [entries=3000] [rounds=3] [probe ms=16]
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "boxes/item_drag_win.h"
#include "inventory/inventory_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"
#include "settings/settings.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::wstring g_root;
HWND g_probeWnd = nullptr;

std::wstring Desk() { return g_root + L"\\Desktop"; }
std::wstring Other() { return g_root + L"\\other"; }

void Seed(int n) {
    CreateDirectoryW(Desk().c_str(), nullptr);
    CreateDirectoryW(g_hidden.c_str(), nullptr);
    CreateDirectoryW(Other().c_str(), nullptr);
    for (int i = 0; i < n; ++i) {
        const std::wstring p = Desk() + L"\\报告 " + std::to_wstring(i) + L".txt";
        HANDLE f = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD w = 0;
        WriteFile(f, "x", 1, &w, nullptr);
        CloseHandle(f);
    }
}

// Moves every file of `from` back into the desktop folder (between rounds; not timed).
void Gather(const std::wstring& from) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((from + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") MoveFileW((from + L"\\" + n).c_str(), (Desk() + L"\\" + n).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((Desk() + L"\\*").c_str(), &fd);
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L".." && n != L".hidden") names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

struct Figure {
    double totalMs = 0;
    double gapMs = 0; // longest wait of the probe for an answer
};

// Runs work() on this thread, then pumps messages until finished(), while a probe thread sends.
Figure Measure(int probeMs, const std::function<void()>& work, const std::function<bool()>& finished) {
    std::atomic<bool> stop{false}, stopped{false};
    std::atomic<long long> worstUs{0};
    std::thread probe([&] {
        while (!stop) {
            const auto t0 = Clock::now();
            DWORD_PTR r = 0;
            SendMessageTimeoutW(g_probeWnd, WM_APP + 5, 0, 0, SMTO_NORMAL, 60000, &r);
            const long long us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
            if (us > worstUs) worstUs = us;
            if (probeMs > 0) Sleep(static_cast<DWORD>(probeMs));
        }
        stopped = true;
    });
    Sleep(50); // the probe is under way
    const auto t0 = Clock::now();
    work();
    MSG msg;
    while (!finished()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    Figure f;
    f.totalMs = Ms(Clock::now() - t0);
    stop = true;
    while (!stopped)
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE)) Sleep(1);
    probe.join();
    f.gapMs = static_cast<double>(worstUs) / 1000.0;
    return f;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return m == WM_APP + 5 ? 1 : DefWindowProcW(h, m, w, l);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int n = argc > 1 ? _wtoi(argv[1]) : 3000;
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 3;
    const int probeMs = argc > 3 ? _wtoi(argv[3]) : 16;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    g_root = std::wstring(tmp) + L"collect_bench_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(g_root.c_str(), nullptr);
    g_desktop = Desk();
    g_hidden = HiddenStoreFor(g_desktop);
    g_iniPath = g_root + L"\\brindlecot.ini";
    Seed(n);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = L"CollectBenchProbe";
    RegisterClassW(&wc);
    g_probeWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

    std::vector<double> plainT, plainG, beforeT, beforeG, wholeT, wholeG, slicedT, slicedG;
    for (int r = 0; r < rounds; ++r) {
        bool done = false;
        const auto names = Names();
        Figure f = Measure(probeMs, [&] {
            for (const auto& s : names)
                MoveFileW((Desk() + L"\\" + s).c_str(), (Other() + L"\\" + s).c_str());
            done = true;
        }, [&] { return done; });
        plainT.push_back(f.totalMs), plainG.push_back(f.gapMs);
        Gather(Other());

        done = false;
        f = Measure(probeMs, [&] {
            for (const auto& s : names) {
                const std::wstring from = Desk() + L"\\" + s, to = g_hidden + L"\\" + s;
                if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
                if (!MoveFileW(from.c_str(), to.c_str())) continue;
                SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_desktop.c_str(), nullptr);
                SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_hidden.c_str(), nullptr);
            }
            done = true;
        }, [&] { return done; });
        beforeT.push_back(f.totalMs), beforeG.push_back(f.gapMs);
        Gather(g_hidden);

        done = false;
        f = Measure(probeMs, [&] {
            MoveAllPlan plan;
            PrepareMoveAll(MoveCommand::CollectAll, plan);
            const QuietMoves quiet;
            for (size_t i = 0; i < plan.names.size(); ++i) MoveOneOf(plan, i);
            done = true;
        }, [&] { return done; });
        wholeT.push_back(f.totalMs), wholeG.push_back(f.gapMs);
        Gather(g_hidden);

        done = false;
        f = Measure(probeMs, [&] { StartMoveAll(MoveCommand::CollectAll, {nullptr, [&] { done = true; }}); },
                    [&] { return done; });
        slicedT.push_back(f.totalMs), slicedG.push_back(f.gapMs);
        Gather(g_hidden);
    }
    // A drop of 500 files from another program onto a box: its INI entries and moves, as before
    // (per file: write and flush, check, move, two notices, delete and flush) and now.
    const int dropN = n < 500 ? n : 500;
    std::vector<double> dropBefore, dropMain, dropNow, dropPlain;
    for (int r = 0; r < rounds; ++r) {
        DeleteFileW(g_iniPath.c_str());
        auto names = Names();
        names.resize(static_cast<size_t>(dropN));
        auto t0 = Clock::now();
        for (const auto& s : names) MoveFileW((Desk() + L"\\" + s).c_str(), (Other() + L"\\" + s).c_str());
        dropPlain.push_back(Ms(Clock::now() - t0));
        Gather(Other());
        t0 = Clock::now();
        for (const auto& s : names) {
            IniWrite(L"manualGroups", IniKeyFor(s).c_str(), L"工作");
            IniFlush();
            const std::wstring from = Desk() + L"\\" + s, to = g_hidden + L"\\" + s;
            if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES && MoveFileW(from.c_str(), to.c_str())) {
                SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_desktop.c_str(), nullptr);
                SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_hidden.c_str(), nullptr);
            }
            WritePrivateProfileStringW(L"freedItems", IniKeyFor(s).c_str(), nullptr, g_iniPath.c_str());
            IniFlush();
        }
        dropBefore.push_back(Ms(Clock::now() - t0));
        Gather(g_hidden);
        DeleteFileW(g_iniPath.c_str());
        // As the drop was before its INI edits were held: per file the move, its place checked, the
        // byte-order check and a write (a rewrite of the file), a read for the freed mark.
        t0 = Clock::now();
        for (const auto& s : names) {
            const std::wstring from = Desk() + L"\\" + s, to = g_hidden + L"\\" + s, key = IniKeyFor(s);
            GetFileAttributesW(g_hidden.c_str());
            if (!MoveFileExW(from.c_str(), to.c_str(), 0) || GetFileAttributesW(from.c_str()) != INVALID_FILE_ATTRIBUTES ||
                GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;
            IniEnsureFile();
            WritePrivateProfileStringW(L"manualGroups", key.c_str(), L"工作", g_iniPath.c_str());
            GetFileAttributesW(g_iniPath.c_str());
            wchar_t buf[4];
            GetPrivateProfileStringW(L"freedItems", key.c_str(), L"", buf, 4, g_iniPath.c_str());
        }
        for (const std::wstring& folder : {g_desktop, g_hidden, Desk()})
            SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, folder.c_str(), nullptr);
        dropMain.push_back(Ms(Clock::now() - t0));
        Gather(g_hidden);
        DeleteFileW(g_iniPath.c_str());
        // The file list as another program hands it over.
        std::wstring list;
        for (const auto& s : names) list += Desk() + L"\\" + s + L'\0';
        list += L'\0';
        HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
        df->pFiles = sizeof(DROPFILES);
        df->fWide = TRUE;
        memcpy(df + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(mem);
        t0 = Clock::now();
        TakeDroppedFiles(static_cast<HDROP>(mem), L"工作");
        dropNow.push_back(Ms(Clock::now() - t0));
        GlobalFree(mem);
        Gather(g_hidden);
    }
    std::printf("drop of %d files onto a box, medians of %d rounds (ms): plain moves %.0f, before %.0f, "
                "writes one by one %.0f (%.2f x plain), now %.0f (%.2f x plain)\n",
                dropN, rounds, Median(dropPlain), Median(dropBefore), Median(dropMain),
                Median(dropMain) / Median(dropPlain), Median(dropNow), Median(dropNow) / Median(dropPlain));

    std::printf("collect-all of %d entries, medians of %d rounds, probe every %d ms (ms: total / longest unanswered)\n",
                n, rounds, probeMs);
    std::printf("  plain MoveFileW        %8.0f / %7.1f\n", Median(plainT), Median(plainG));
    std::printf("  before (check+notify)  %8.0f / %7.1f\n", Median(beforeT), Median(beforeG));
    std::printf("  one go, told once      %8.0f / %7.1f\n", Median(wholeT), Median(wholeG));
    std::printf("  sliced collect-all     %8.0f / %7.1f   (%.2f x plain)\n", Median(slicedT), Median(slicedG),
                Median(slicedT) / Median(plainT));
    // Leave nothing behind.
    for (const auto& s : Names()) DeleteFileW((Desk() + L"\\" + s).c_str());
    RemoveDirectoryW(g_hidden.c_str());
    RemoveDirectoryW(Other().c_str());
    RemoveDirectoryW(Desk().c_str());
    DeleteFileW(g_iniPath.c_str());
    RemoveDirectoryW(g_root.c_str());
    return 0;
}
