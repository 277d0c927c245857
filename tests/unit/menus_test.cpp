#include <gtest/gtest.h>

#include <algorithm>

#include "ui/menus.h"

namespace {

// "id:text[*]" per entry, "-" for a separator, "text>(...)" for a submenu.
std::wstring Flat(const std::vector<MenuEntry>& menu) {
    std::wstring out;
    for (const auto& e : menu)
        out += (out.empty() ? L"" : L"|") +
               (e.separator ? L"-"
                : !e.sub.empty() ? e.text + L">(" + Flat(e.sub) + L")"
                                 : std::to_wstring(e.id) + L":" + e.text + (e.checked ? L"*" : L""));
    return out;
}

// "firstId+i:text[i]" for each text, the one at index `checked` marked.
std::wstring Sub(int firstId, const std::vector<std::wstring>& texts, int checked) {
    std::wstring out;
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i ? L"|" : L"") + std::to_wstring(firstId + static_cast<int>(i)) + L":" + texts[i] +
               (static_cast<int>(i) == checked ? L"*" : L"");
    return out;
}

TEST(Menus, TrayAndAppearanceMenusInEveryState) {
    for (int style = -1; style <= 4; ++style)
        for (int flags = 0; flags < 8; ++flags)
            EXPECT_EQ(Flat(TrayMenuModel(flags & 1, flags & 2, style, style < 2 ? L"Win+Alt+F" : L"", flags & 4)),
                      std::wstring(L"1001:显示所有盒子|1002:隐藏所有盒子|-|1003:收纳全部桌面图标到盒子|1004:还原全部图标到桌面|"
                      L"1012:新建盒子|1006:自动排列|1011:盒子不重叠") + (flags & 1 ? L"*" : L"") +
                          L"|1014:开机自动启动" + (flags & 2 ? L"*" : L"") + L"|1017:双击桌面显示/隐藏盒子" + (flags & 4 ? L"*" : L"") + L"|1007:恢复所有隐藏盒子|1016:查找桌面文件" + (style < 2 ? L"\tWin+Alt+F" : L"") + L"|-|1008:外观设置|托盘图标>(" +
                          Sub(300, {L"蓝色盒子", L"黄色文件夹", L"深色网格", L"绿色圆点"}, style) + L")|1015:打开收纳文件夹|-|1005:退出")
                << style << flags;
    const int sizes[4] = {24, 32, 48, 64};
    for (int skin = -1; skin <= 8; ++skin)
        for (int size : {16, 24, 32, 48, 64, 100})
            EXPECT_EQ(Flat(AppearanceMenuModel(skin, size)),
                      L"30:透明度...|31:字体名称...|32:字体大小...|33:背景图片...|34:清除背景图|-|皮肤>(" +
                          Sub(200, {L"深色", L"浅色", L"蓝色", L"紫色", L"绿色", L"红色", L"玫红", L"青色"}, skin) +
                          L")|图标大小>(" +
                          Sub(10, {L"小 (24)", L"中 (32)", L"大 (48)", L"特大 (64)"},
                              static_cast<int>(std::find(sizes, sizes + 4, size) - sizes)) + L")")
                << skin << " " << size;
}

TEST(Menus, Commands) {
    EXPECT_EQ((std::vector<int>{IconSizeForCommand(9), IconSizeForCommand(10), IconSizeForCommand(13),
                                IconSizeForCommand(14), TrayStyleForCommand(299), TrayStyleForCommand(303),
                                TrayStyleForCommand(304), SkinForCommand(207), SkinForCommand(208)}),
              (std::vector<int>{0, 24, 64, 0, -1, 3, -1, 7, -1}));
}

} // namespace
