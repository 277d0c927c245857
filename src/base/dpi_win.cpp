#include "base/dpi_win.h"

namespace {

template <typename Fn> Fn Proc(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryW(dll);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

constexpr int kBase = 96;
DpiLookupFn g_lookup = nullptr;

bool Sane(UINT dpi) { return dpi >= 24 && dpi <= 1920; }

} // namespace

int SystemDpi() {
    using SystemFn = UINT(WINAPI*)();
    static const SystemFn forSystem = Proc<SystemFn>(L"user32.dll", "GetDpiForSystem");
    if (forSystem) {
        const UINT dpi = forSystem();
        if (Sane(dpi)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return Sane(static_cast<UINT>(dpi)) ? dpi : kBase;
}

int DpiOfMonitor(HMONITOR monitor) {
    using MonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const MonitorFn forMonitor = Proc<MonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && Sane(x)) return static_cast<int>(x);
    return SystemDpi();
}

int DpiForRect(const RECT& r) {
    if (g_lookup) return g_lookup(r);
    return DpiOfMonitor(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

int DpiForWindowRect(HWND hwnd) {
    RECT r = {};
    if (!hwnd || !GetWindowRect(hwnd, &r)) return g_lookup ? g_lookup(r) : SystemDpi();
    return DpiForRect(r);
}

int SystemMetricAtDpi(int index, int dpi) {
    using MetricFn = int(WINAPI*)(int, UINT);
    static const MetricFn forDpi = Proc<MetricFn>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi) {
        const int v = forDpi(index, static_cast<UINT>(dpi));
        if (v > 0) return v;
    }
    return GetSystemMetrics(index);
}

void SetDpiLookup(DpiLookupFn lookup) { g_lookup = lookup; }
