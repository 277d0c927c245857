// What the Windows-side box benchmarks share: a box of many entries on the real box code, and the
// percentile of a series of timings.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "settings/settings.h"

inline double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// One box of `entries` documents with long names, drawn by whatever path the machine gives; null
// when it cannot be made.
inline BoxWin* MakeBenchBox(int entries) {
    SetProcessDPIAware();
    g_hInst = GetModuleHandleW(nullptr);
    RegisterBoxClasses(g_hInst);
    ResetSettingsToDefaults();
    InitDCompInfra();
    std::vector<Item> items(static_cast<size_t>(entries));
    for (size_t k = 0; k < items.size(); ++k)
        items[k] = Item{L"季度报告 第" + std::to_wstring(k) + L" 版.docx", L"C:\\nowhere\\x.docx", false, L".docx"};
    CreateBox(L"文档", items, 0);
    return g_boxes.empty() ? nullptr : g_boxes[0];
}
