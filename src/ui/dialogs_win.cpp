// The text input dialog and the transparency slider: small top-level windows in the skin's colours,
// owned by the main window, that run their own message loop until they are closed. One is open at a
// time; each keeps its answer in its own state, so nothing of one dialog leaks into another.
#include "ui/dialogs_win.h"

#include <commctrl.h>

#include "base/dpi_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "render/paint_win.h"
#include "render/skins.h"
#include "render/skins_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"

std::function<std::wstring(const std::wstring&, const std::wstring&)> g_inputBoxAnswer;
std::function<int(const std::wstring&, int)> g_sliderBoxAnswer;

namespace {

const wchar_t kInputClass[] = L"BrindlecotInput";
const wchar_t kSliderClass[] = L"BrindlecotSlider";
constexpr int kControlId = 100;
constexpr int kMinAlpha = 30;
constexpr int kMaxAlpha = 255;

// What one dialog was asked and what it answers; lives on the stack of InputBox or SliderBox.
struct DialogState {
    std::wstring text; // input: the confirmed text
    int value = 0;     // slider: the position shown first, then the one confirmed
    int original = 0;  // slider: the boxes' opacity at the start, put back on any end but OK
    bool ok = false;
};

HWND g_openDialog = nullptr; // the dialog now open, if any

DialogState* StateOf(HWND dlg) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

// Keeps the state handed to CreateWindowExW with the window (WM_NCCREATE comes first).
void KeepState(HWND dlg, LPARAM lParam) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
}

HINSTANCE Instance() {
    return g_hInst ? g_hInst : GetModuleHandleW(nullptr);
}

// Registers the class the first time a dialog of it is made.
void RegisterDialogClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(Instance(), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

// A dialog window of the class, centred on the screen (not shown yet). The main window owns it
// where there is one: a box that asked may be rebuilt (destroyed) while the dialog is open.
// Sizes and places below are given for 96 dpi; the windows take them at the system's DPI, the one of
// the primary monitor they are centred on (and of the message font they use).
int AtDpi(int len) { return ScaleLen(len, SystemDpi()); }

HWND CreateDialogWindow(HWND owner, const wchar_t* cls, WNDPROC proc, const std::wstring& title, int w, int h,
                        DialogState* state) {
    RegisterDialogClass(cls, proc);
    w = AtDpi(w);
    h = AtDpi(h);
    HWND dlg = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, cls, title.c_str(),
                               WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, w, h, g_hMainWnd ? g_hMainWnd : owner,
                               nullptr, Instance(), state);
    if (dlg) CenterDialog(dlg, w, h);
    return dlg;
}

// The system's message font (made once, kept for the run): the controls' default raster font has
// no Chinese characters outside Chinese editions of Windows, so the captions would be boxes.
HFONT DialogFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW ncm = {};
        ncm.cbSize = sizeof ncm;
        return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)
                   ? CreateFontIndirectW(&ncm.lfMessageFont)
                   : nullptr;
    }();
    return font;
}

void AddChild(HWND parent, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
              int w, int h, int id) {
    HWND child = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, AtDpi(x), AtDpi(y),
                                 AtDpi(w), AtDpi(h), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (child && DialogFont()) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
}

void AddButtons(HWND parent, int x, int y) {
    AddChild(parent, 0, L"BUTTON", L"确定", BS_OWNERDRAW, x, y, 80, 28, IDOK);
    AddChild(parent, 0, L"BUTTON", L"取消", BS_OWNERDRAW, x + 100, y, 80, 28, IDCANCEL);
}

void Press(HWND dlg, int id) {
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// The keys every dialog knows: Enter confirms (or presses the focused button), Escape cancels, Tab
// and Shift+Tab move between the controls. True when the key was taken.
bool DialogKey(HWND dlg, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != dlg && !IsChild(dlg, msg.hwnd))) return false;
    switch (msg.wParam) {
    case VK_RETURN:
        Press(dlg, GetFocus() == GetDlgItem(dlg, IDCANCEL) ? IDCANCEL : IDOK);
        return true;
    case VK_ESCAPE:
        Press(dlg, IDCANCEL);
        return true;
    case VK_TAB: {
        const HWND focus = GetFocus();
        const HWND next = GetNextDlgTabItem(dlg, IsChild(dlg, focus) ? focus : nullptr,
                                            (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        if (next) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return true;
    }
    default:
        return false;
    }
}

// Shows the dialog and runs until it is gone. A WM_QUIT taken here ends the loop and is posted
// again, so the program still ends; the dialog then goes as if cancelled.
void RunDialog(HWND dlg, HWND focus) {
    g_openDialog = dlg;
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
    if (focus) SetFocus(focus);
    MSG msg;
    while (IsWindow(dlg)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (DialogKey(dlg, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (IsWindow(dlg)) DestroyWindow(dlg); // ended by WM_QUIT: nothing was confirmed
    g_openDialog = nullptr;
}

// A dialog is open already: it comes forward, and the caller gets no second one.
bool BringOpenDialogForward() {
    if (!g_openDialog || !IsWindow(g_openDialog)) return false;
    ShowWindow(g_openDialog, SW_SHOW);
    SetForegroundWindow(g_openDialog);
    return true;
}

// The skin's colours for a dialog's background, its controls and its owner-drawn buttons; false
// for every other message.
bool SkinMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc = {};
        GetClientRect(hwnd, &rc);
        if (g_skinBgBrush) FillRect(dc, &rc, g_skinBgBrush);
        *result = 1;
        return true;
    }
    case WM_DRAWITEM:
        DrawSkinButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = 1;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        const Skin& skin = SkinAt(g_skinIndex);
        SetTextColor(dc, skin.text);
        SetBkColor(dc, skin.background);
        *result = reinterpret_cast<LRESULT>(g_skinBgBrush);
        return true;
    }
    default:
        return false;
    }
}

int TrackbarPos(HWND dlg) {
    return static_cast<int>(SendDlgItemMessageW(dlg, kControlId, TBM_GETPOS, 0, 0));
}

// The boxes show the slider's opacity at once (the main loop is not running meanwhile).
void PreviewAlpha(int alpha) {
    g_alpha = alpha;
    RenderAll(); // marks every box and draws them now
}

// Ends the dialog with its answer (OK) or without one.
void CloseDialog(HWND dlg, bool ok) {
    if (DialogState* state = StateOf(dlg)) state->ok = ok;
    DestroyWindow(dlg);
}

} // namespace

void CenterDialog(HWND hwnd, int width, int height) {
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawSkinButton(const DRAWITEMSTRUCT* dis) {
    if (!dis) return;
    const Skin& skin = SkinAt(g_skinIndex);
    HBRUSH face = CreateSolidBrush((dis->itemState & ODS_SELECTED) ? skin.accentDark : skin.accent);
    RECT rc = dis->rcItem;
    FillRect(dis->hDC, &rc, face);
    DeleteObject(face);
    SetTextColor(dis->hDC, skin.text);
    SetBkMode(dis->hDC, TRANSPARENT);
    wchar_t text[64] = {};
    GetWindowTextW(dis->hwndItem, text, 64);
    HGDIOBJ oldFont = DialogFont() ? SelectObject(dis->hDC, DialogFont()) : nullptr;
    DrawTextW(dis->hDC, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) SelectObject(dis->hDC, oldFont);
    if (dis->itemState & ODS_FOCUS) { // the button Enter and Space would press
        InflateRect(&rc, -3, -3);
        DrawFocusRect(dis->hDC, &rc);
    }
}

LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT skinned = 0;
    if (SkinMessage(hwnd, msg, wParam, lParam, &skinned)) return skinned;
    switch (msg) {
    case WM_NCCREATE:
        KeepState(hwnd, lParam);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CREATE:
        AddChild(hwnd, WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL, 10, 10, 260, 26, kControlId);
        AddButtons(hwnd, 60, 46);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            wchar_t buf[256] = {};
            GetDlgItemTextW(hwnd, kControlId, buf, 256);
            if (DialogState* state = StateOf(hwnd)) state->text = buf;
            CloseDialog(hwnd, true);
        } else if (LOWORD(wParam) == IDCANCEL) {
            CloseDialog(hwnd, false);
        }
        return 0;
    case WM_CLOSE:
        CloseDialog(hwnd, false);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK SliderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT skinned = 0;
    if (SkinMessage(hwnd, msg, wParam, lParam, &skinned)) return skinned;
    switch (msg) {
    case WM_NCCREATE:
        KeepState(hwnd, lParam);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CREATE:
        AddChild(hwnd, 0, TRACKBAR_CLASSW, L"", TBS_AUTOTICKS, 15, 25, 300, 40, kControlId);
        SendDlgItemMessageW(hwnd, kControlId, TBM_SETRANGE, TRUE, MAKELPARAM(kMinAlpha, kMaxAlpha));
        SendDlgItemMessageW(hwnd, kControlId, TBM_SETTICFREQ, 25, 0);
        SendDlgItemMessageW(hwnd, kControlId, TBM_SETPOS, TRUE, StateOf(hwnd) ? StateOf(hwnd)->value : kMaxAlpha);
        AddButtons(hwnd, 100, 80);
        return 0;
    case WM_HSCROLL: {
        const int pos = TrackbarPos(hwnd);
        PreviewAlpha(pos);
        SetWindowTextW(hwnd, (L"透明度: " + IntToW(pos)).c_str());
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (DialogState* state = StateOf(hwnd)) state->value = TrackbarPos(hwnd);
            CloseDialog(hwnd, true);
        } else if (LOWORD(wParam) == IDCANCEL) {
            CloseDialog(hwnd, false);
        }
        return 0;
    case WM_CLOSE:
        CloseDialog(hwnd, false);
        return 0;
    case WM_DESTROY: // however the slider ends (cancel, close box, quit, destruction), only OK keeps the preview
        if (const DialogState* state = StateOf(hwnd))
            if (!state->ok) PreviewAlpha(state->original);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

std::wstring InputBox(HWND owner, const std::wstring& title, const std::wstring& initial) {
    if (g_inputBoxAnswer) return g_inputBoxAnswer(title, initial);
    if (BringOpenDialogForward()) return std::wstring();
    DialogState state;
    HWND dlg = CreateDialogWindow(owner, kInputClass, InputProc, title, 300, 120, &state);
    if (!dlg) return std::wstring();
    const HWND edit = GetDlgItem(dlg, kControlId);
    SetWindowTextW(edit, initial.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1); // typing replaces the proposal
    RunDialog(dlg, edit);
    return state.ok ? state.text : std::wstring();
}

int SliderBox(HWND owner, const std::wstring& label, int initial) {
    if (g_sliderBoxAnswer) {
        const int answer = g_sliderBoxAnswer(label, initial);
        return answer < 0 ? -1 : (answer < kMinAlpha ? kMinAlpha : answer > kMaxAlpha ? kMaxAlpha : answer);
    }
    if (BringOpenDialogForward()) return -1;
    DialogState state;
    state.value = initial;
    state.original = g_alpha;
    const std::wstring caption = FitToBuffer(label + L": " + IntToW(initial), 64);
    HWND dlg = CreateDialogWindow(owner, kSliderClass, SliderProc, caption, 340, 160, &state);
    if (!dlg) return -1;
    RunDialog(dlg, GetDlgItem(dlg, kControlId));
    return state.ok ? state.value : -1;
}
