// The layout decisions applied to real box windows, against the step-by-step rules on a copy.
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/layout_win.h"
#include "render/box_record_win.h"
#include "win/box_env.h"

#include "boxes/layout.h"

#include "unit/layout_literal.h"
#include "unit/model_desk.h"

namespace {

using LayoutLiveWin = BoxWorld;

Size ScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Rect> LiveRects() {
    std::vector<Rect> r;
    for (BoxWin* box : g_boxes)
        r.push_back(WindowRect(box->hwnd));
    return r;
}

// Boxes of different heights piled near the top-left corner.
void MakePile() {
    for (int i = 0; i < 6; ++i) {
        std::vector<Item> items(static_cast<size_t>(i * 3));
        CreateBox(L"box" + std::to_wstring(i), items, i);
        SetBoxPos(g_boxes.back()->hwnd, 60 + 37 * i, 80 + 23 * i, 0, 0, SWP_NOSIZE);
    }
}

TEST_F(LayoutLiveWin, ResolveOnWindowsDecidesAsTheRulesDo) {
    for (int anchor : {-1, 2}) {
        MakePile();
        ModelDesk model(ScreenSize(), LiveRects());
        literal::ResolveOverlaps(model, anchor);
        ResolveOverlaps(anchor < 0 ? nullptr : g_boxes[static_cast<size_t>(anchor)]);
        EXPECT_EQ(LiveRects(), model.rects) << "anchor " << anchor;
        EXPECT_FALSE(model.moves.empty());
        for (size_t a = 0; a < g_boxes.size(); ++a)
            for (size_t b = a + 1; b < g_boxes.size(); ++b)
                EXPECT_FALSE(RectsOverlap(WindowRect(g_boxes[a]->hwnd), WindowRect(g_boxes[b]->hwnd)));
        DestroyAllBoxes();
    }
}

TEST_F(LayoutLiveWin, ArrangeAndLivePushOnWindows) {
    MakePile();
    ModelDesk model(ScreenSize(), LiveRects());
    literal::AutoArrange(model);
    AutoArrange();
    EXPECT_EQ(LiveRects(), model.rects);
    EXPECT_EQ(WindowRect(g_boxes[0]->hwnd).right, ScreenSize().w)
        << "the first column ends at the screen's right edge";

    SetBoxPos(g_boxes[0]->hwnd, 0, 0, 0, 0, SWP_NOSIZE);
    SetBoxPos(g_boxes[1]->hwnd, 200, 50, 0, 0, SWP_NOSIZE);
    ModelDesk live(ScreenSize(), LiveRects());
    literal::PushBoxesLive(live, 0);
    PushBoxesLive(g_boxes[0]);
    EXPECT_EQ(LiveRects(), live.rects);
    EXPECT_FALSE(RectsOverlap(WindowRect(g_boxes[0]->hwnd), WindowRect(g_boxes[1]->hwnd)));
}

} // namespace
