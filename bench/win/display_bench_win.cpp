// A display change with 20 boxes of 50 entries each (1,000 in all), two monitors through the monitor
// seam: the second is unplugged and plugged back, again and again. Times from the notice sent to the
// main window's procedure to every box placed and drawn (the notice waits for the monitors to read
// the same twice, kDisplayLookMs apart), and the part of it that lays the boxes out and draws them.
// Usage: display_bench.exe [rounds=10]
#include <chrono>
#include <cstdio>

#include "app/display_change_win.h"
#include "base/screen_win.h"
#include "bench_box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/display_layouts_win.h"
#include "boxes/display_set.h"
#include "boxes/layout_win.h"
#include "render/paint_win.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"

namespace {

std::vector<MonitorInfo> g_monitors;
std::vector<MonitorInfo> Fake() { return g_monitors; }
double g_handledMs = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsDisplayNotice(msg, wParam)) return OnDisplayNotice(hwnd), 0;
    if (msg == WM_TIMER && wParam == kDisplayTimerId) {
        const auto t0 = std::chrono::steady_clock::now();
        OnDisplayTimer(hwnd); // lays out and draws what changed
        g_handledMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool AllOn(const std::vector<MonitorInfo>& set) {
    for (const BoxWin* box : g_boxes) {
        RECT r = {};
        GetWindowRect(box->hwnd, &r);
        bool on = false;
        for (const MonitorInfo& m : set) on = on || (r.left >= m.rect.left && r.right <= m.rect.right);
        if (!on) return false;
    }
    return SameSet(ShownDisplaySet(), set);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 10;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    g_iniPath = std::wstring(tmp) + L"display_bench.ini";
    DeleteFileW(g_iniPath.c_str());
    const MonitorInfo A{{0, 0, 1600, 900}, {0, 0, 1600, 900}, 96, true};
    const MonitorInfo B{{1600, 0, 3520, 1080}, {1600, 0, 3520, 1080}, 96, false};
    g_monitors = {A, B};
    SetMonitorSource(Fake);
    if (!MakeBenchBox(50)) return 1;
    DestroyAllBoxes();
    std::vector<Item> items(50);
    for (size_t k = 0; k < items.size(); ++k)
        items[k] = Item{L"季度报告 第" + std::to_wstring(k) + L" 版.docx", L"C:\\nowhere\\x.docx", false, L".docx"};
    std::vector<std::wstring> keys;
    for (int i = 0; i < 20; ++i) keys.push_back(L"盒子" + std::to_wstring(i));
    StartDisplaySet(keys);
    for (int i = 0; i < 20; ++i) {
        CreateBox(keys[static_cast<size_t>(i)], items, i);
        const int x = (i % 10) * 350 + 10, y = (i / 10) * 450 + 10; // ten columns over both monitors
        SetBoxPos(g_boxes.back()->hwnd, x, y, 0, 0, SWP_NOSIZE);
        SavePos(keys[static_cast<size_t>(i)], x, y);
    }
    DrawMarkedBoxes();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = L"DisplayBench";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);
    std::vector<double> total[2], handled[2];
    for (int i = 0; i < 2 * rounds; ++i) {
        const bool unplug = i % 2 == 0;
        g_monitors = unplug ? std::vector<MonitorInfo>{A} : std::vector<MonitorInfo>{A, B};
        const auto t0 = std::chrono::steady_clock::now();
        SendMessageW(wnd, WM_DISPLAYCHANGE, 32, 0);
        while (!AllOn(g_monitors)) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(20)) return 2;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        total[unplug ? 0 : 1].push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        handled[unplug ? 0 : 1].push_back(g_handledMs);
    }
    // The same layout work with every box drawn anew (as when the scaling changes).
    std::vector<double> redrawn;
    for (int i = 0; i < rounds; ++i) {
        g_monitors = i % 2 == 0 ? std::vector<MonitorInfo>{A} : std::vector<MonitorInfo>{A, B};
        const auto t0 = std::chrono::steady_clock::now();
        ShowDisplaySet(g_monitors);
        InvalidateSurfaces();
        DrawMarkedBoxes();
        redrawn.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("display change, 20 boxes, 1000 entries, %d rounds (ms): unplug: notice to placed median %.1f p95 %.1f, "
                "of it laying out and drawing median %.1f p95 %.1f; plug back (saved layout): median %.1f p95 %.1f, "
                "of it %.1f p95 %.1f; laid out with every box drawn anew: median %.1f p95 %.1f (wait for the monitors "
                "to settle: %u ms)\n",
                rounds, Percentile(total[0], 0.5), Percentile(total[0], 0.95), Percentile(handled[0], 0.5),
                Percentile(handled[0], 0.95), Percentile(total[1], 0.5), Percentile(total[1], 0.95),
                Percentile(handled[1], 0.5), Percentile(handled[1], 0.95), Percentile(redrawn, 0.5),
                Percentile(redrawn, 0.95), kDisplayLookMs);
    DestroyAllBoxes();
    DestroyWindow(wnd);
    DeleteFileW(g_iniPath.c_str());
    return 0;
}
