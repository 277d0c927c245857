// Names are laid out once and reused until their text, font or box changes.
#include "boxes/box_win.h"
#include "render/paint_win.h"
#include "win/box_env.h"

#include "render/devices_win.h"
#include "render/name_layouts_win.h"

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

} // namespace
