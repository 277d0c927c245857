// Names are laid out once and reused until their text, font or box changes; rebuilds that draw the
// same names again do not add layouts.
#include "win/box_env.h"

#include "render/devices_win.h"
#include "render/name_layouts_win.h"
#include "render/render_win.h"

namespace {

IDWriteTextFormat* Format(float size) {
    IDWriteTextFormat* f = nullptr;
    g_dw->CreateTextFormat(L"Tahoma", nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                           DWRITE_FONT_STRETCH_NORMAL, size, L"zh-CN", &f);
    return f;
}

TEST(NameLayoutsWin, AChangeOfTextFontOrWidthGivesANewLayout) {
    InitDCompInfra();
    ASSERT_TRUE(g_dw);
    IDWriteTextFormat* nine = Format(9);
    IDWriteTextFormat* nineAgain = Format(9); // another format of the same font
    IDWriteTextFormat* twelve = Format(12);
    ASSERT_TRUE(nine && nineAgain && twelve);
    IDWriteTextLayout* first = TextLayoutFor(nine, L"季度报告.docx", 70, 30);
    ASSERT_TRUE(first);
    EXPECT_EQ(TextLayoutFor(nineAgain, L"季度报告.docx", 70, 30), first) << "the same name is laid out once";
    const struct {
        const char* change;
        IDWriteTextFormat* format;
        const wchar_t* text;
        float w;
    } rows[] = {{"text", nine, L"季度报告2.docx", 70}, {"font size", twelve, L"季度报告.docx", 70}, {"width", nine, L"季度报告.docx", 90}};
    for (const auto& row : rows) {
        IDWriteTextLayout* l = TextLayoutFor(row.format, row.text, row.w, 30);
        ASSERT_TRUE(l) << row.change;
        EXPECT_NE(l, TextLayoutFor(nine, L"季度报告.docx", 70, 30)) << row.change;
        l = TextLayoutFor(row.format, row.text, row.w, 30);
        FLOAT size = 0;
        l->GetFontSize(0, &size);
        EXPECT_EQ(size, row.format->GetFontSize()) << row.change;
        EXPECT_EQ(l->GetMaxWidth(), row.w) << row.change;
    }
    for (IDWriteTextFormat* f : {nine, nineAgain, twelve}) f->Release();
    ForgetTextLayouts();
    EXPECT_EQ(TextLayoutCount(), 0u);
}

class NameLayoutsRebuildWin : public BoxWorld {};

TEST_F(NameLayoutsRebuildWin, RebuildsDrawingTheSameNamesAddNoLayouts) {
    InitDCompInfra();
    for (int i = 0; i < 12; ++i) WriteFileText(g_desktop + L"\\名字 " + std::to_wstring(i) + L".txt", "a");
    ForgetTextLayouts();
    RemakeAllBoxes(); // every box made anew, with formats of its own
    DrawMarkedBoxes();
    const size_t laidOut = TextLayoutCount();
    ASSERT_GE(laidOut, 12u) << "the names were drawn";
    for (int i = 0; i < 5; ++i) {
        RemakeAllBoxes();
        DrawMarkedBoxes();
    }
    EXPECT_EQ(TextLayoutCount(), laidOut);
    g_fontSize += 2;
    RebuildAllFormats();
    DrawMarkedBoxes();
    EXPECT_EQ(TextLayoutCount(), laidOut) << "the layouts of the old size went with the font change";
}

} // namespace
