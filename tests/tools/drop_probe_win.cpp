// Another program with a drop target: drop_probe <out file> <copy|move> <x> <y>. DragEnter writes
// "<out>.enter"; a drop copies or moves each file into the folder of <out>, writes their paths to <out>
// (UTF-16) and ends the probe, as does any WM_TIMER (its own after a minute, or one posted to it).
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

namespace {
std::wstring g_out;
bool g_move = false;
void WriteText(const std::wstring& path, const std::wstring& text) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &n, nullptr);
    CloseHandle(f);
}
struct Target final : IDropTarget {
    DWORD Effect(DWORD allowed) const { return allowed & (g_move ? DROPEFFECT_MOVE : DROPEFFECT_COPY); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        const bool ok = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget);
        return *out = ok ? this : nullptr, ok ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // a static object
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        return WriteText(g_out + L".enter", L"enter"), *effect = Effect(*effect), S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return *effect = Effect(*effect), S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC fmt = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        std::wstring paths;
        *effect = Effect(*effect);
        if (SUCCEEDED(data->GetData(&fmt, &medium))) {
            HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
            for (UINT i = 0, n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
                wchar_t path[MAX_PATH] = {};
                DragQueryFileW(drop, i, path, MAX_PATH);
                const std::wstring p = path, to = g_out.substr(0, g_out.rfind(L'\\')) + p.substr(p.rfind(L'\\'));
                if (g_move ? !MoveFileW(path, to.c_str()) : !CopyFileW(path, to.c_str(), TRUE)) *effect = DROPEFFECT_NONE;
                paths += p + L"\n";
            }
            GlobalUnlock(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
        return WriteText(g_out, paths), PostQuitMessage(0), S_OK;
    }
} g_target;

} // namespace
int wmain(int argc, wchar_t** argv) {
    if (argc < 5) return 2;
    g_out = argv[1], g_move = std::wstring(argv[2]) == L"move";
    OleInitialize(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW, wc.hInstance = GetModuleHandleW(nullptr), wc.lpszClassName = L"BcDropProbe";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"BcDropProbe", L"probe", WS_POPUP | WS_VISIBLE, _wtoi(argv[3]),
                                _wtoi(argv[4]), 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    RegisterDragDrop(hwnd, &g_target);
    SetTimer(hwnd, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageW(&msg);
    return RevokeDragDrop(hwnd), 0;
}