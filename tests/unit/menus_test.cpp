#include <gtest/gtest.h>

#include "ui/menus.h"

namespace {

// "id:text[*]" per entry, "-" for a separator, "text>(...)" for a submenu: order, ids, texts and
// check marks in one string.
std::wstring Flat(const std::vector<MenuEntry>& menu) {
    std::wstring out;
    for (const auto& e : menu) {
        if (!out.empty()) out += L"|";
        if (e.separator) {
            out += L"-";
        } else if (!e.sub.empty()) {
            out += e.text + L">(" + Flat(e.sub) + L")";
        } else {
            out += std::to_wstring(e.id) + L":" + e.text + (e.checked ? L"*" : L"");
        }
    }
    return out;
}

TEST(Menus, TrayMenuInEveryState) {
    const std::wstring head = L"1001:显示所有盒子|1002:隐藏所有盒子|-|1003:收纳全部桌面图标到盒子|1004:还原全部图标到桌面|"
                              L"1012:新建盒子|1006:自动排列|";
    const std::wstring tail = L"1007:恢复所有隐藏盒子|-|1008:外观设置|托盘图标>(";
    const std::wstring icons[4] = {L"300:蓝色盒子", L"301:黄色文件夹", L"302:深色网格", L"303:绿色圆点"};
    for (int style = -1; style <= 4; ++style)
        for (int overlap = 0; overlap < 2; ++overlap)
            for (int autoStart = 0; autoStart < 2; ++autoStart) {
                std::wstring expected = head + L"1011:盒子不重叠" + (overlap ? L"*" : L"") + L"|1014:开机自动启动" +
                                        (autoStart ? L"*" : L"") + L"|" + tail;
                for (int i = 0; i < 4; ++i) expected += (i ? L"|" : L"") + icons[i] + (i == style ? L"*" : L"");
                expected += L")|-|1005:退出";
                EXPECT_EQ(Flat(TrayMenuModel(overlap != 0, autoStart != 0, style)), expected) << style;
            }
}

TEST(Menus, AppearanceMenuInEveryState) {
    const wchar_t* skins[8] = {L"深色", L"浅色", L"蓝色", L"紫色", L"绿色", L"红色", L"玫红", L"青色"};
    const wchar_t* sizes[4] = {L"10:小 (24)", L"11:中 (32)", L"12:大 (48)", L"13:特大 (64)"};
    const int sizeValues[4] = {24, 32, 48, 64};
    for (int skin = -1; skin <= 8; ++skin)
        for (int size : {16, 24, 32, 48, 64, 100}) {
            std::wstring expected = L"30:透明度...|31:字体名称...|32:字体大小...|33:背景图片...|34:清除背景图|-|皮肤>(";
            for (int i = 0; i < 8; ++i)
                expected += (i ? L"|" : L"") + std::to_wstring(200 + i) + L":" + skins[i] + (i == skin ? L"*" : L"");
            expected += L")|图标大小>(";
            for (int i = 0; i < 4; ++i) expected += (i ? L"|" : L"") + std::wstring(sizes[i]) + (sizeValues[i] == size ? L"*" : L"");
            expected += L")";
            EXPECT_EQ(Flat(AppearanceMenuModel(skin, size)), expected) << skin << " " << size;
        }
}

TEST(Menus, CommandsAndFontSizeText) {
    const int sizeOf[] = {IconSizeForCommand(9), IconSizeForCommand(10), IconSizeForCommand(13), IconSizeForCommand(14)};
    EXPECT_EQ(std::vector<int>(sizeOf, sizeOf + 4), (std::vector<int>{0, 24, 64, 0}));
    EXPECT_EQ(TrayStyleForCommand(299), -1);
    EXPECT_EQ(TrayStyleForCommand(303), 3);
    EXPECT_EQ(TrayStyleForCommand(304), -1);
    EXPECT_EQ(SkinForCommand(207), 7);
    EXPECT_EQ(SkinForCommand(208), -1);
    const struct {
        const wchar_t* text;
        int size;
    } cases[] = {{L"100", 40}, {L"12abc", 12}, {L"abc", 8}, {L" -5", 8}, {L"8", 8}, {L"40", 40}, {L"7", 8}};
    for (const auto& c : cases) EXPECT_EQ(FontSizeFromText(c.text), c.size) << c.text;
}

} // namespace
