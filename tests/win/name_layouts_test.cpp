// Names are laid out once and reused until their text, font or box changes; each shows inside its cell
// on two lines at most, cut with "…" where it does not fit, and a title on one line within its band.
#include "boxes/box_win.h"
#include "render/paint_win.h"
#include "win/box_env.h"

#include "render/devices_win.h"
#include "render/name_layouts_win.h"
#include "render/scene.h"

namespace {

class NameLayoutsWin : public BoxWorld {};

TEST_F(NameLayoutsWin, AChangeOfTextFontOrWidthGivesANewLayoutAndRebuildsAddNone) {
    InitDCompInfra();
    IDWriteTextFormat* f[3] = {};
    for (int k = 0; k < 3; ++k)
        g_dw->CreateTextFormat(L"Tahoma", nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                               DWRITE_FONT_STRETCH_NORMAL, k < 2 ? 9.0f : 12.0f, L"zh-CN", &f[k]);
    IDWriteTextLayout* first = TextLayoutFor(f[0], L"报告.docx", 70, 30);
    ASSERT_TRUE(first);
    EXPECT_EQ(TextLayoutFor(f[1], L"报告.docx", 70, 30), first) << "another format of the same font";
    const struct { IDWriteTextFormat* format; const wchar_t* text; float w; } rows[] = {
        {f[0], L"报告2.docx", 70}, {f[2], L"报告.docx", 70}, {f[0], L"报告.docx", 90}};
    for (const auto& row : rows) {
        IDWriteTextLayout* l = TextLayoutFor(row.format, row.text, row.w, 30);
        FLOAT size = 0;
        ASSERT_TRUE(l && SUCCEEDED(l->GetFontSize(0, &size)));
        EXPECT_TRUE(l != first && size == row.format->GetFontSize() && l->GetMaxWidth() == row.w) << row.w;
    }
    for (IDWriteTextFormat* format : f) format->Release();

    for (int i = 0; i < 12; ++i) WriteFileText(g_desktop + L"\\名字 " + std::to_wstring(i) + L".txt", "a");
    ForgetTextLayouts();
    size_t laidOut = 0;
    for (int i = 0; i < 5; ++i) {
        RemakeAllBoxes(); // every box made anew, with formats of its own
        DrawMarkedBoxes();
        if (i == 0) laidOut = TextLayoutCount();
    }
    EXPECT_GE(laidOut, 12u) << "the names were drawn";
    EXPECT_EQ(TextLayoutCount(), laidOut);
    g_fontSize += 2;
    RebuildAllFormats();
    DrawMarkedBoxes();
    EXPECT_EQ(TextLayoutCount(), laidOut) << "the layouts of the old size went with the font change";
}

TEST_F(NameLayoutsWin, ANameStaysInItsCellOnTwoLinesAtMostAndIsCutWhereItDoesNotFit) {
    InitDCompInfra();
    const std::wstring sentence = L"a long name with many words that wraps over several lines.txt";
    const std::wstring word = L"budget_v2_FINAL_really_final.xlsx";
    const struct {
        std::wstring name;
        int font, icon;
        int lines;
        bool cut;
    } rows[] = {
        {L"a.txt", 13, 32, 1, false},       {L"a.txt", 40, 32, 2, false},      {sentence, 13, 32, 2, true},
        {word, 13, 32, 2, true},            {word, 13, 64, 2, false},             {sentence, 40, 32, 2, true},
        {word, 40, 64, 2, true},            {L"季度报告第三版最终稿修订.docx", 13, 32, 2, true},
        {std::wstring(255, L'x'), 8, 16, 2, true},
    };
    for (const auto& r : rows) {
        g_fontSize = r.font;
        g_iconSize = r.icon;
        UpdateCellSize();
        MeasureNameLines();
        DestroyAllBoxes();
        CreateBox(L"文档", {Item{r.name, L"", false, L".txt"}}, 0);
        BoxWin* box = g_boxes.at(0);
        ResizeBoxRender(box, 324, 600);
        const std::string what = std::to_string(r.name.size()) + " chars, font " + std::to_string(r.font) + ", icon " +
                                 std::to_string(r.icon);
        ASSERT_GT(g_nameLineHeight, r.font / 2) << what;
        EXPECT_GE(g_cellH, r.icon + 12 + 2 * g_nameLineHeight) << what << ": the cell holds two lines";
        const Rect cell = CellRect(box, 0, box->width);
        const RectF at = NameRectIn(cell, g_iconSize, g_nameLineHeight);
        const FittedText f = FittedTextFor(box->nameFormat, r.name, at.right - at.left, at.bottom - at.top);
        EXPECT_EQ(f.lines, r.lines) << what;
        EXPECT_EQ(f.cut, r.cut) << what;
        DWRITE_LINE_METRICS last = {};
        UINT32 n = 0;
        if (f.last) f.last->GetLineMetrics(&last, 1, &n);
        EXPECT_EQ(n == 1 && last.isTrimmed, r.cut) << what << ": the last line ends in the ellipsis sign";
        // Every line laid out within the name's rectangle, which lies within the cell.
        const float w = at.right - at.left, h = at.bottom - at.top;
        for (IDWriteTextLayout* l : {f.head, f.last}) {
            DWRITE_TEXT_METRICS lm = {};
            if (!l || FAILED(l->GetMetrics(&lm))) continue;
            const float top = l == f.last ? f.lastTop : 0;
            EXPECT_TRUE(lm.left >= -0.5f && lm.left + lm.width <= w + 0.5f && top + lm.top + lm.height <= h + 0.5f)
                << what << ": laid out outside its cell";
        }
        EXPECT_TRUE(at.left >= cell.left && at.right <= cell.right && at.bottom <= cell.bottom) << what;
        // The title: one line in its band, cut where wider.
        IDWriteTextLayout* title = OneLineLayoutFor(box->titleFormat, std::wstring(255, L'标') + L" (1)",
                                                    static_cast<float>(box->width - 16), 34);
        DWRITE_TEXT_METRICS m = {};
        ASSERT_TRUE(title && SUCCEEDED(title->GetMetrics(&m))) << what;
        EXPECT_TRUE(m.lineCount == 1 && m.height <= 34.5f && m.width <= box->width - 16 + 0.5f) << what;
    }
}

} // namespace
