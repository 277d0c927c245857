// Baseline of the memory figure: a window whose picture is one rectangle drawn with Direct2D (a
// software DC render target), waiting in GetMessage.
#include <windows.h>
#include <d2d1.h>

static ID2D1Factory* g_factory = nullptr;
static ID2D1DCRenderTarget* g_rt = nullptr;

static void Paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    if (g_rt && SUCCEEDED(g_rt->BindDC(dc, &rc))) {
        ID2D1SolidColorBrush* brush = nullptr;
        g_rt->BeginDraw();
        g_rt->Clear(D2D1::ColorF(0.1f, 0.1f, 0.1f, 1.0f));
        if (SUCCEEDED(g_rt->CreateSolidColorBrush(D2D1::ColorF(0.2f, 0.5f, 0.9f, 1.0f), &brush))) {
            g_rt->FillRectangle(D2D1::RectF(10, 10, 200, 120), brush);
            brush->Release();
        }
        g_rt->EndDraw();
    }
    EndPaint(h, &ps);
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) {
        Paint(h);
        return 0;
    }
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, LPWSTR, int) {
    D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &g_factory);
    if (g_factory) {
        const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_SOFTWARE, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
        g_factory->CreateDCRenderTarget(&p, &g_rt);
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.lpszClassName = L"BenchD2DRect";
    RegisterClassExW(&wc);
    HWND w = CreateWindowExW(0, L"BenchD2DRect", L"d2d-rect", WS_POPUP, 40, 40, 324, 300, nullptr, nullptr, inst, nullptr);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
