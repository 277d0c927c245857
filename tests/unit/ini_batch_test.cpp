#include <gtest/gtest.h>

#include "settings/ini_batch.h"

namespace {

std::wstring Lines(std::initializer_list<const wchar_t*> lines) { // as the platform lists a section
    std::wstring out;
    for (const wchar_t* l : lines) out += (out.empty() ? L"" : std::wstring(1, L'\0')) + l;
    return out;
}

// Held edits give what the same writes one by one give: reads, each section's lines, and the order
// in which sections made anew must be written (they go to the end of the file in that order).
TEST(IniPendingEdits, HeldEditsReadAndApplyAsOneByOne) {
    IniPendingEdits edits;
    edits.EraseKey(L"freed", L"a.txt");
    edits.Set(L"new", L"x", L"1");
    edits.Set(L"Groups", L"a.txt", L"工作");
    edits.Set(L"groups", L"B.TXT", L"new");
    edits.EraseSection(L"custom");
    edits.Set(L"custom", L"k", L"v");
    edits.Set(L"groups", L"a.txt", L"再");
    edits.EraseSection(L"gone");
    EXPECT_EQ(edits.Lookup(L"GROUPS", L"A.txt").value().value(), L"再");
    EXPECT_FALSE(edits.Lookup(L"freed", L"a.txt").value().has_value()) << "erased";
    EXPECT_FALSE(edits.Lookup(L"custom", L"old").value().has_value()) << "wiped with its section";
    EXPECT_FALSE(edits.Lookup(L"groups", L"c.txt").has_value()) << "left to the file";
    EXPECT_FALSE(edits.Lookup(L"other", L"x").has_value());
    std::wstring order;
    for (const auto& w : edits.Work()) order += w.name + (w.wipe ? (w.remade ? L"+" : L"-") : L"") + L" ";
    EXPECT_EQ(order, L"freed gone- new Groups custom+ ");
    const struct { const wchar_t* section; std::wstring block, after; bool changed; } rows[] = {
        {L"groups", Lines({L"b.txt=old", L"c.txt=x"}), Lines({L"b.txt=new", L"c.txt=x", L"a.txt=再"}), true},
        {L"freed", Lines({L"a.txt=1", L"z=1"}), Lines({L"z=1"}), true},
        {L"freed", Lines({L"z=1"}), Lines({L"z=1"}), false},
        {L"custom", Lines({L"old=1"}), Lines({L"k=v"}), true},
        {L"gone", Lines({}), Lines({}), true},
        {L"untouched", Lines({L"q=1"}), Lines({L"q=1"}), false},
    };
    for (const auto& r : rows) {
        bool changed = !r.changed;
        EXPECT_EQ(edits.Apply(r.section, r.block, &changed), r.after) << r.section;
        EXPECT_EQ(changed, r.changed) << r.section;
    }
    edits.Forget(L"GROUPS");
    EXPECT_FALSE(edits.Touches(L"groups"));
    EXPECT_TRUE(edits.Touches(L"Custom"));
}

} // namespace
