// The input and slider dialogs driven by messages from inside their own loops.
#include <gtest/gtest.h>

#include "base/win.h"

#include <commctrl.h>

#include "render/render_win.h"
#include "render/skins.h"
#include "settings/settings.h"
#include "ui/ui_win.h"

namespace {

// Runs `act` on the dialog of class `cls` once it exists, from a timer inside the dialog's loop.
std::function<void(HWND)> g_act;
const wchar_t* g_actClass = nullptr;

void When(const wchar_t* cls, std::function<void(HWND)> act) {
    g_actClass = cls;
    g_act = std::move(act);
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dlg = FindWindowW(g_actClass, nullptr);
        if (!dlg || !g_act) return;
        KillTimer(nullptr, id);
        std::exchange(g_act, nullptr)(dlg);
    });
}

std::wstring Text(HWND w) {
    wchar_t buf[512] = {};
    GetWindowTextW(w, buf, 512);
    return buf;
}

void Press(HWND dlg, int id) { SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void Ok(HWND dlg) { Press(dlg, IDOK); }
void CloseBox(HWND dlg) { SendMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }
void Slide(HWND dlg, int pos) {
    SendDlgItemMessageW(dlg, 100, TBM_SETPOS, TRUE, pos);
    SendMessageW(dlg, WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(GetDlgItem(dlg, 100)));
}

TEST(Dialogs, InputBoxAnswers) {
    UpdateSkinBrush();
    const std::wstring long300(300, L'长');
    const struct { std::function<void(HWND)> act; std::wstring expected; } cases[] = {
        {[](HWND d) { SetDlgItemTextW(d, 100, L"工作"), Press(d, IDOK); }, L"工作"},
        {Ok, L"新盒子"},
        {[](HWND d) { SetDlgItemTextW(d, 100, L""), Press(d, IDOK); }, L""},
        {[](HWND d) { SetDlgItemTextW(d, 100, L"x"), Press(d, IDCANCEL); }, L""},
        {CloseBox, L""},
        {[&](HWND d) { SetDlgItemTextW(d, 100, long300.c_str()), Press(d, IDOK); }, std::wstring(255, L'长')},
    };
    for (const auto& c : cases) {
        std::wstring seen;
        When(L"BrindlecotInput", [&](HWND d) {
            seen = Text(d) + L"/" + Text(GetDlgItem(d, 100));
            c.act(d);
        });
        EXPECT_EQ(InputBox(nullptr, L"新建盒子", L"新盒子"), c.expected) << &c - cases;
        EXPECT_EQ(seen, L"新建盒子/新盒子");
        EXPECT_FALSE(FindWindowW(L"BrindlecotInput", nullptr));
    }
}

TEST(Dialogs, SliderClampsPreviewsAndPutsBackAndAQuitStillEndsTheProgram) {
    // move 0: the thumb is not moved
    const struct { int initial, move; void (*end)(HWND); int expected, previewed, alphaAfter; } cases[] = {
        {130, 200, Ok, 200, 200, 200},
        {10, 0, Ok, 30, 130, 130}, // shown at the nearest end
        {300, 0, Ok, 255, 130, 130},
        {130, 5, Ok, 30, 30, 30}, // the thumb stops at 30
        {130, 40, [](HWND d) { Press(d, IDCANCEL); }, -1, 40, 130},
        {130, 40, CloseBox, -1, 40, 130},
        {130, 60, [](HWND) { PostQuitMessage(3); }, -1, 60, 130}}; // last: the quit ends the test
    for (const auto& c : cases) {
        g_alpha = 130;
        std::wstring captions;
        int previewed = g_alpha;
        When(L"BrindlecotSlider", [&](HWND d) {
            captions = Text(d);
            if (c.move) Slide(d, c.move), captions += L"|" + Text(d);
            previewed = g_alpha;
            c.end(d);
        });
        EXPECT_EQ(SliderBox(nullptr, L"透明度", c.initial), c.expected) << c.initial << " " << c.move;
        EXPECT_EQ(captions, L"透明度: " + std::to_wstring(c.initial) +
                                (c.move ? L"|透明度: " + std::to_wstring(c.previewed) : L""));
        EXPECT_EQ(previewed, c.previewed) << "the boxes show the position at once";
        EXPECT_EQ(g_alpha, c.alphaAfter);
        EXPECT_FALSE(FindWindowW(L"BrindlecotSlider", nullptr));
    }
    ResetSettingsToDefaults();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again";
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace
