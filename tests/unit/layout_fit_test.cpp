// Boxes stay wholly on a work area and, with no-overlap on, off each other, whatever the boxes, their
// entries and the screens: at start, after an arrangement, a new box and an expanded box.
#include <gtest/gtest.h>

#include <sstream>

#include "boxes/box_rules.h"
#include "boxes/layout_fit.h"
#include "settings/settings.h"
#include "unit/model_desk.h"

namespace {

enum Op { kFirstRun, kStart, kNewBox, kExpand };

TEST(LayoutFit, EveryBoxOnAWorkAreaAndNoneOverAnother) {
    const std::vector<std::vector<Rect>> screens = {{{0, 0, 1024, 768}},
                                                    {{0, 0, 1600, 860}},
                                                    {{0, 40, 3840, 2160}},
                                                    {{0, 0, 1920, 1040}, {1920, -200, 3200, 824}}};
    const int entries[] = {0, 9, 128, 752, 3000, 20000};
    int checked = 0, cut = 0;
    for (const auto& areas : screens)
        for (int boxes : {1, 2, 6, 12})
            for (int many : entries)
                for (bool noOverlap : {true, false})
                    for (Op op : {kFirstRun, kStart, kNewBox, kExpand}) {
                        g_noOverlap = noOverlap;
                        const Rect home = areas[0];
                        std::vector<Rect> rects;
                        for (int i = 0; i < boxes; ++i) { // as boxes are made: default places, stored sizes
                            Size s = DefaultBoxSize(78, 84, static_cast<size_t>(many / (i + 1)));
                            s.h = CapDefaultHeight(s.h, home.Height());
                            if (i % 5 == 3) s = {900, 700}; // a size the user made
                            if (op == kExpand && i == boxes / 2) s.h = 36;
                            const Point at = i % 4 == 1 ? Point{home.right - 20, home.bottom - 20} : DefaultBoxPos(i);
                            rects.push_back({at.x, at.y, at.x + s.w, at.y + s.h});
                        }
                        ModelDesk desk({home.right, home.bottom}, rects);
                        std::vector<Rect> kept;
                        if (op != kFirstRun) ResolveOverlaps(desk, -1), SettleBoxes(desk, areas, noOverlap, {});
                        if (op == kFirstRun || op == kExpand) ArrangeToFit(desk, areas);
                        if (op == kNewBox) { // a rebuild with one more box at its default place
                            kept = desk.rects;
                            desk.rects.push_back({40, 40, 364, 40 + CapDefaultHeight(84 * 30, home.Height())});
                            std::vector<int> old(kept.size());
                            for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<int>(i);
                            SettleBoxes(desk, areas, noOverlap, old, old.size());
                        }
                        if (op == kExpand) { // the folded box in the middle expanded where it lies
                            desk.rects[static_cast<size_t>(boxes / 2)].bottom = desk.rects[static_cast<size_t>(boxes / 2)].top + 360;
                            FitExpanded(desk, boxes / 2, areas, noOverlap);
                        }
                        std::ostringstream what;
                        what << areas.size() << " areas " << home.right << "x" << home.bottom << " boxes " << boxes
                             << " entries " << many << " noOverlap " << noOverlap << " op " << op;
                        const auto& out = desk.rects;
                        for (size_t i = 0; i < out.size(); ++i) {
                            const Rect& r = out[i];
                            const Rect a = AreaOf(r, areas);
                            EXPECT_TRUE(r.left >= a.left && r.top >= a.top && r.right <= a.right && r.bottom <= a.bottom)
                                << what.str() << " box " << i << " at " << r.left << "," << r.top;
                            EXPECT_GE(r.Height(), std::min(kMinBoxHeight, i < rects.size() ? rects[i].Height() : 1)) << what.str();
                            for (size_t o = i + 1; o < out.size() && noOverlap; ++o)
                                EXPECT_FALSE(RectsOverlap(r, out[o])) << what.str() << " boxes " << i << ", " << o;
                            EXPECT_TRUE(i >= kept.size() || r == kept[i]) << what.str() << ": a kept box stays";
                            cut += i < rects.size() && r.Height() < rects[i].Height();
                        }
                        ++checked;
                    }
    g_noOverlap = true;
    EXPECT_GT(cut, 0) << "some layouts only fit with shorter boxes";
    EXPECT_EQ(checked, 4 * 4 * 6 * 2 * 4);
}

} // namespace
