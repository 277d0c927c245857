// The input and slider dialogs driven by messages from inside their own loops.
#include <gtest/gtest.h>

#include "base/win.h"

#include <commctrl.h>

#include <functional>

#include "render/render_win.h"
#include "render/skins.h"
#include "settings/settings.h"
#include "ui/ui_win.h"

namespace {

// Runs `act` on the dialog of class `cls` once it exists, from a timer inside the dialog's loop.
std::function<void(HWND)> g_act;
const wchar_t* g_actClass = nullptr;

void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowW(g_actClass, nullptr);
    if (!dlg || !g_act) return;
    KillTimer(nullptr, id);
    auto act = std::move(g_act);
    g_act = nullptr;
    act(dlg);
}

void When(const wchar_t* cls, std::function<void(HWND)> act) {
    g_actClass = cls;
    g_act = std::move(act);
    SetTimer(nullptr, 0, 20, Drive);
}

std::wstring Text(HWND w) {
    wchar_t buf[512] = {};
    GetWindowTextW(w, buf, 512);
    return buf;
}

void Press(HWND dlg, int id) { SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSettingsToDefaults();
        UpdateSkinBrush();
    }
    void TearDown() override { ResetSettingsToDefaults(); }
};

TEST_F(Dialogs, InputBoxAnswers) {
    const std::wstring long300(300, L'长');
    struct Case {
        const char* what;
        std::function<void(HWND)> act;
        std::wstring expected;
    } cases[] = {
        {"ok", [](HWND d) { SetDlgItemTextW(d, 100, L"工作"); Press(d, IDOK); }, L"工作"},
        {"ok keeps the initial text", [](HWND d) { Press(d, IDOK); }, L"新盒子"},
        {"ok on empty", [](HWND d) { SetDlgItemTextW(d, 100, L""); Press(d, IDOK); }, L""},
        {"cancel", [](HWND d) { SetDlgItemTextW(d, 100, L"x"); Press(d, IDCANCEL); }, L""},
        {"close box", [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, L""},
        {"300 characters", [&](HWND d) { SetDlgItemTextW(d, 100, long300.c_str()); Press(d, IDOK); },
         std::wstring(255, L'长')},
    };
    for (auto& c : cases) {
        std::wstring caption, initial;
        When(L"BrindlecotInput", [&](HWND d) {
            caption = Text(d);
            initial = Text(GetDlgItem(d, 100));
            c.act(d);
        });
        EXPECT_EQ(InputBox(nullptr, L"新建盒子", L"新盒子"), c.expected) << c.what;
        EXPECT_EQ(caption, L"新建盒子") << c.what;
        EXPECT_EQ(initial, L"新盒子") << c.what;
        EXPECT_FALSE(FindWindowW(L"BrindlecotInput", nullptr)) << c.what;
    }
}

TEST_F(Dialogs, SliderClampsPreviewsAndPutsBack) {
    struct Case {
        const char* what;
        int initial;
        int move; // 0: no movement
        std::function<void(HWND)> end;
        int expected;
        int alphaAfter;
    } cases[] = {
        {"ok", 130, 200, [](HWND d) { Press(d, IDOK); }, 200, 200},
        {"initial below the range is shown at 30", 10, 0, [](HWND d) { Press(d, IDOK); }, 30, 130},
        {"initial above the range is shown at 255", 300, 0, [](HWND d) { Press(d, IDOK); }, 255, 130},
        {"a position below the range is clamped", 130, 5, [](HWND d) { Press(d, IDOK); }, 30, 30},
        {"cancel puts the preview back", 130, 30, [](HWND d) { Press(d, IDCANCEL); }, -1, 130},
        {"the close box too", 130, 30, [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, -1, 130},
    };
    for (auto& c : cases) {
        g_alpha = 130;
        std::wstring opening, live;
        int previewed = -1;
        When(L"BrindlecotSlider", [&](HWND d) {
            opening = Text(d);
            if (c.move) {
                SendDlgItemMessageW(d, 100, TBM_SETPOS, TRUE, c.move);
                SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(GetDlgItem(d, 100)));
                previewed = g_alpha;
                live = Text(d);
            }
            c.end(d);
        });
        EXPECT_EQ(SliderBox(nullptr, L"透明度", c.initial), c.expected) << c.what;
        EXPECT_EQ(opening, L"透明度: " + std::to_wstring(c.initial)) << c.what;
        if (c.move) {
            const int pos = c.move < 30 ? 30 : c.move;
            EXPECT_EQ(previewed, pos) << c.what << ": the boxes show the position at once";
            EXPECT_EQ(live, L"透明度: " + std::to_wstring(pos)) << c.what;
        }
        EXPECT_EQ(g_alpha, c.alphaAfter) << c.what;
        EXPECT_FALSE(FindWindowW(L"BrindlecotSlider", nullptr)) << c.what;
    }
}

TEST_F(Dialogs, QuitDuringADialogStillEndsTheProgram) {
    When(L"BrindlecotSlider", [](HWND d) {
        SendDlgItemMessageW(d, 100, TBM_SETPOS, TRUE, 60);
        SendMessageW(d, WM_HSCROLL, 0, reinterpret_cast<LPARAM>(GetDlgItem(d, 100)));
        PostQuitMessage(3);
    });
    EXPECT_EQ(SliderBox(nullptr, L"透明度", 130), -1);
    EXPECT_EQ(g_alpha, 130) << "the preview is put back";
    EXPECT_FALSE(FindWindowW(L"BrindlecotSlider", nullptr));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again";
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(Dialogs, ButtonsInTheSkinColours) {
    g_skinIndex = 4;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 80, 28);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        DRAWITEMSTRUCT dis = {};
        dis.hDC = dc;
        dis.rcItem = {0, 0, 80, 28};
        dis.itemState = state;
        DrawSkinButton(&dis);
        EXPECT_EQ(GetPixel(dc, 2, 2), state ? g_skins[4].accentDark : g_skins[4].accent) << state;
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

} // namespace
