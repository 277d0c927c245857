// The input and slider dialogs driven by messages from inside their own loops.
#include <gtest/gtest.h>

#include "base/process_win.h"
#include "base/win.h"

#include <commctrl.h>

#include "render/skins.h"
#include "render/skins_win.h"
#include "settings/settings.h"
#include "ui/dialogs_win.h"

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
        {130, 70, [](HWND d) { DestroyWindow(d); }, -1, 70, 130},
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

void Keys(HWND dlg, const std::wstring& typed, std::initializer_list<WPARAM> keys) {
    for (wchar_t c : typed) PostMessageW(GetDlgItem(dlg, 100), WM_CHAR, c, 0);
    for (WPARAM k : keys) PostMessageW(GetFocus(), WM_KEYDOWN, k, 0); // as the system sends keys: to the focus
    SetTimer(dlg, 1, 5000, [](HWND d, UINT, UINT_PTR, DWORD) { DestroyWindow(d); }); // keys ignored: ends unanswered
}

TEST(Dialogs, KeyboardAsInEveryDialog) {
    UpdateSkinBrush();
    const struct { bool slider; std::wstring typed; std::initializer_list<WPARAM> keys; std::wstring answer; } cases[] = {
        // The proposal is selected: typing replaces it. Tab goes to OK, to cancel, round to the text.
        {false, L"Work", {VK_RETURN}, L"Work"}, {false, L"", {VK_RETURN}, L"新盒子"}, {false, L"x", {VK_ESCAPE}, L""},
        {false, L"", {VK_TAB, VK_RETURN}, L"新盒子"}, {false, L"y", {VK_TAB, VK_TAB, VK_RETURN}, L""},
        {false, L"z", {VK_TAB, VK_TAB, VK_TAB, VK_RETURN}, L"z"}, {true, L"", {VK_RETURN}, L"130"},
        {true, L"", {VK_RIGHT, VK_RETURN}, L"131"}, {true, L"", {VK_RIGHT, VK_ESCAPE}, L"-1"}}; // arrows move the thumb
    for (const auto& c : cases) {
        g_alpha = 130;
        When(c.slider ? L"BrindlecotSlider" : L"BrindlecotInput", [&](HWND d) { Keys(d, c.typed, c.keys); });
        const std::wstring answer = c.slider ? std::to_wstring(SliderBox(nullptr, L"透明度", 130))
                                             : InputBox(nullptr, L"新建盒子", L"新盒子");
        EXPECT_EQ(answer, c.answer) << &c - cases;
        if (c.slider) { EXPECT_EQ(std::to_wstring(g_alpha), c.answer == L"-1" ? L"130" : c.answer) << "preview"; }
    }
}

TEST(Dialogs, OneAtATimeOwnedByTheMainWindowAndTheSliderPutsBack) {
    UpdateSkinBrush();
    const HWND mainWnd = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const HWND box = CreateWindowExW(0, L"STATIC", L"box", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    g_hMainWnd = mainWnd;
    std::wstring seen;
    When(L"BrindlecotInput", [&](HWND d) {
        SetDlgItemTextW(d, 100, L"工作");
        // Asked again while open: no second dialog, the open one keeps its own answer.
        seen = InputBox(box, L"重命名盒子", L"旧") + L"|" + std::to_wstring(SliderBox(box, L"透明度", 40)) + L"|" +
               std::to_wstring(GetWindow(d, GW_OWNER) == mainWnd && !FindWindowExW(nullptr, d, L"BrindlecotInput", nullptr));
        Press(d, IDOK);
    });
    EXPECT_EQ(InputBox(box, L"新建盒子", L"新盒子"), L"工作");
    EXPECT_EQ(seen, L"|-1|1");
    g_alpha = 130;
    When(L"BrindlecotSlider", [&](HWND d) {
        Slide(d, 50);
        DestroyWindow(box); // the box that asked is rebuilt
        seen = std::to_wstring(IsWindow(d)) + L"|" + std::to_wstring(g_alpha);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(SliderBox(box, L"透明度", 130), -1);
    EXPECT_EQ(seen + L"|" + std::to_wstring(g_alpha), L"1|50|130");
    g_hMainWnd = nullptr;
    DestroyWindow(mainWnd);
}

} // namespace
