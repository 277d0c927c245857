// Finding desktop entries by name: what a query matches and in which order, and the index of every
// entry of every box that a query runs over. A name matches when it holds the query (letter case
// aside), or when the query spells a run of its characters in pinyin: each Chinese character by any
// of its readings, whole or begun ("wendang", "wd", "wend" and "wdang" all find 文档), the other
// characters as themselves.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The toneless readings of a character of U+4E00..U+9FFF ("v" for u-umlaut), most common first;
// none for any other character or one without a reading.
std::vector<std::string> PinyinOf(wchar_t c);
// Bytes the reading table takes in the program.
size_t PinyinTableBytes();

// Letter case folded the same way on every system: ASCII, Latin-1, Greek and Cyrillic capitals, and
// the full-width forms of ASCII (as some input methods type them) become plain lower-case.
wchar_t FoldChar(wchar_t c);
std::wstring FoldCase(const std::wstring& s);

// How a name matched, best first: the name begins with the query, its pinyin begins with it, the
// name holds it further in, its pinyin does further in.
enum class MatchTier { NameStart, PinyinStart, NameMiddle, PinyinMiddle, None };

// One item of a box. What else the find window shows or opens (path, icon, the box's title) it asks
// the boxes for by these positions, so the index holds little beside the names.
struct FindEntry {
    std::wstring name; // the item's name, as its box shows it
    int box = -1;      // the box's position among the boxes, and the item's in its box
    int item = -1;
};

class FindIndex {
  public:
    void Clear();
    void Reserve(size_t entries);
    void Add(FindEntry entry);
    size_t Size() const { return entries_.size(); }
    const FindEntry& At(size_t i) const { return entries_[i]; }
    // How one entry matches the query (already folded, see FoldCase), and where: the character the
    // match starts at.
    MatchTier Match(size_t i, const std::wstring& folded, int* start = nullptr) const;
    // The entries matching the query, best first: by tier, then the earlier start, the shorter name,
    // the name, the place among the boxes. An empty or blank query matches nothing. `among`: look
    // only at these entries (what a query that this one extends found: a name that matches a query
    // matches every beginning of it).
    std::vector<int> Find(const std::wstring& query, const std::vector<int>* among = nullptr) const;
    // Bytes the index holds (entries, names, readings), for the benchmark.
    size_t MemoryBytes() const;

  private:
    struct Key {
        std::wstring folded;
        uint32_t readings = 0; // offset into pool_ of the name's readings; kNoHan: no Chinese character
    };
    static constexpr uint32_t kNoHan = 0xFFFFFFFFu;
    int PinyinStart(const Key& key, const std::wstring& q) const;

    std::vector<FindEntry> entries_;
    std::vector<Key> keys_;
    // Per character of a name with Chinese characters: the count of its readings, then the readings'
    // syllable numbers.
    std::vector<uint16_t> pool_;
};
