// The find window over 20,000 entries under the real window code: the hotkey's message to the
// window shown and drawn, and one key typed to the list drawn (median and 95th percentile).
//     find_bench.exe [entries]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/process_win.h"
#include "ui/find_match.h"
#include "ui/find_win.h"
#include "bench_box_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

LRESULT CALLBACK MainWnd(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HOTKEY) {
        ShowFindWindow();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int entries = argc > 1 ? _wtoi(argv[1]) : 20000;
    SetProcessDPIAware();
    g_hInst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = g_hInst;
    wc.lpfnWndProc = MainWnd;
    wc.lpszClassName = L"FindBenchMain";
    RegisterClassExW(&wc);
    g_hMainWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);

    const wchar_t* const words[] = {L"年度报告", L"文档", L"银行流水", L"行程单", L"音乐", L"重庆火锅", L"长城照片",
                                    L"会议纪要", L"项目计划", L"发票", L"readme", L"Report", L"budget", L"photo",
                                    L"Setup", L"微信", L"QQ", L"设计稿", L"合同", L"简历"};
    std::vector<std::vector<Item>> boxes(20);
    for (int i = 0; i < entries; ++i) {
        const std::wstring name = std::wstring(words[i % 20]) + words[(i / 20) % 20] + std::to_wstring(i) + L".txt";
        boxes[static_cast<size_t>(i) % 20].push_back(Item{name, L"C:\\nowhere\\" + name, false, L".txt"});
    }
    g_findHost.boxCount = [&] { return boxes.size(); };
    g_findHost.items = [&](size_t b) { return b < boxes.size() ? &boxes[b] : nullptr; };
    g_findHost.title = [](size_t b) { return L"盒子" + std::to_wstring(b); };
    g_findHost.mark = [](const std::vector<std::vector<int>>&) {};
    g_findOpen = [](const std::wstring&) {};

    std::vector<double> shown, keys;
    const wchar_t* const typed[] = {L"w", L"wd", L"wen", L"wend", L"r", L"re", L"rep", L"y", L"yh", L"yhls"};
    for (int round = 0; round < 10; ++round) {
        const auto t0 = Clock::now();
        PostMessageW(g_hMainWnd, WM_HOTKEY, 1, 0);
        while (!FindWindowOpen())
            Pump();
        UpdateWindow(g_findWnd);
        shown.push_back(Ms(t0));
        HWND edit = GetDlgItem(g_findWnd, kFindEditId), list = GetDlgItem(g_findWnd, kFindListId);
        for (const wchar_t* q : typed) {
            if (q[1] == 0) SetWindowTextW(edit, L"");
            const auto t1 = Clock::now();
            SendMessageW(edit, WM_CHAR, q[wcslen(q) - 1], 0);
            UpdateWindow(list); // the rows drawn
            keys.push_back(Ms(t1));
        }
        CloseFindWindow();
        Pump();
    }
    printf("entries %d\nhotkey to window drawn: median %.2f ms, p95 %.2f ms\nkey to list drawn: median %.2f ms, "
           "p95 %.2f ms, max %.2f ms\n",
           entries, Percentile(shown, 0.5), Percentile(shown, 0.95), Percentile(keys, 0.5), Percentile(keys, 0.95),
           Percentile(keys, 1.0));
    return 0;
}
