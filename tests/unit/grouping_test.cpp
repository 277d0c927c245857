#include <gtest/gtest.h>

#include "inventory/item.h"

namespace {

Item FileItem(const std::wstring& name) {
    Item i;
    i.name = name;
    i.path = L"C:\\Desk\\" + name;
    i.ext = GetExt(name);
    return i;
}

Item DirItem(const std::wstring& name) {
    Item i;
    i.name = name;
    i.path = L"C:\\Desk\\" + name;
    i.isDir = true;
    return i;
}

class GroupingTest : public ::testing::Test {
  protected:
    void SetUp() override { g_manualGroups.clear(); }
    void TearDown() override { g_manualGroups.clear(); }
};

TEST_F(GroupingTest, TypeRulesByExtension) {
    struct Case {
        const wchar_t* name;
        const wchar_t* key;
    };
    const Case cases[] = {
        {L"Tools.lnk", L"快捷方式"}, {L"site.URL", L"快捷方式"}, {L"setup.EXE", L"快捷方式"},
        {L"PHOTO.JPG", L"图片"},     {L"a.png", L"图片"},        {L"a.jpeg", L"图片"},
        {L"a.gif", L"图片"},         {L"a.bmp", L"图片"},        {L"a.webp", L"图片"},
        {L"a.ico", L"图片"},         {L"Report.DOCX", L"文档"},  {L"a.doc", L"文档"},
        {L"a.xls", L"文档"},         {L"a.xlsx", L"文档"},       {L"a.ppt", L"文档"},
        {L"a.pptx", L"文档"},        {L"a.pdf", L"文档"},        {L"notes.txt", L"文档"},
        {L"README.md", L"文档"},     {L"a.zip", L"压缩包"},      {L"a.rar", L"压缩包"},
        {L"a.7z", L"压缩包"},        {L"a.tar", L"压缩包"},      {L"backup.tar.gz", L"压缩包"},
        {L"README", L"其他"},        {L".gitignore", L"其他"},   {L"notes.", L"其他"},
        {L"a.jpg.bak", L"其他"},     {L"a.mdx", L"其他"},        {L"a.lnk2", L"其他"},
        {L"报告.PDF", L"文档"},      {L"照片.Png", L"图片"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetGroupKey(FileItem(c.name)), c.key) << c.name;
}

TEST_F(GroupingTest, FoldersNeverGetATypeGroup) {
    EXPECT_EQ(GetGroupKey(DirItem(L"photos.zip")), L"文件夹");
    EXPECT_EQ(GetGroupKey(DirItem(L"工作")), L"文件夹");
}

TEST_F(GroupingTest, ManualChoiceWinsAndMatchesNameExactly) {
    g_manualGroups[L"a.txt"] = L"Work";
    g_manualGroups[L"Projects"] = L"Work";
    EXPECT_EQ(GetGroupKey(FileItem(L"a.txt")), L"Work");
    Item stored = FileItem(L"a.txt");
    stored.path = L"C:\\Desk\\.hidden\\a.txt";
    EXPECT_EQ(GetGroupKey(stored), L"Work") << "where the file lies does not matter";
    EXPECT_EQ(GetGroupKey(FileItem(L"A.txt")), L"文档") << "names compare with their letter case";
    EXPECT_EQ(GetGroupKey(DirItem(L"Projects")), L"Work") << "a manual choice wins over the folder rule";
}

TEST(Category, OrderOfBuiltInKeysThenTheRest) {
    const wchar_t* order[] = {L"文件夹", L"快捷方式", L"图片", L"文档", L"压缩包", L"其他"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CategoryOrder(order[i]), i) << i;
    EXPECT_EQ(CategoryOrder(L"Work"), 6);
    EXPECT_EQ(CategoryOrder(L""), 6);
    EXPECT_EQ(CategoryOrder(L"其他 "), 6);
}

TEST(PathParts, FileNameAndExtensionCorners) {
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* ext;
    };
    const Case cases[] = {
        {L"C:\\Desk\\Report.DOCX", L"Report.DOCX", L".docx"},
        {L"C:/Desk/a.TXT", L"a.TXT", L".txt"},
        {L"C:\\mixed/dir\\file.Zip", L"file.Zip", L".zip"},
        {L"old.data\\file", L"file", L""},
        {L"old.data/file", L"file", L""},
        {L"C:\\Desk\\", L"", L""},
        {L"C:\\Desk/", L"", L""},
        {L"plain", L"plain", L""},
        {L"plain.Name", L"plain.Name", L".name"},
        {L".gitignore", L".gitignore", L".gitignore"},
        {L"notes.", L"notes.", L"."},
        {L"a.tar.GZ", L"a.tar.GZ", L".gz"},
        {L"", L"", L""},
        {L"C:\\d.x\\.env", L".env", L".env"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFileName(c.path), c.name) << c.path;
        EXPECT_EQ(GetExt(c.path), c.ext) << c.path;
    }
}

TEST(PathParts, ToLowerMapsAsciiLetters) {
    EXPECT_EQ(ToLower(L"ABCXYZ.Jpeg"), L"abcxyz.jpeg");
    EXPECT_EQ(ToLower(L"文档.TXT"), L"文档.txt");
}

} // namespace
