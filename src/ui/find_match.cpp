#include "ui/find_match.h"

#include <algorithm>
#include <string_view>

#include "ui/find_pinyin_data.h"

namespace {

using namespace pinyin_data;

// Syllable n (1-based) of the table, split once.
const std::vector<std::string_view>& Syllables() {
    static const std::vector<std::string_view> list = [] {
        std::vector<std::string_view> out(1);
        const std::string_view all(kSyllables);
        size_t at = 0;
        while (at < all.size()) {
            const size_t end = all.find(' ', at);
            out.push_back(all.substr(at, end - at));
            at = end + 1;
        }
        return out;
    }();
    return list;
}

bool IsTableChar(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    return u >= kFirstChar && u <= kLastChar;
}

// The syllable numbers of a character: the first reading, then the further ones.
int ReadingsOf(wchar_t c, uint16_t* out, int max) {
    if (!IsTableChar(c)) return 0;
    const unsigned offset = static_cast<unsigned>(c) - kFirstChar;
    if (!kFirst[offset] || max < 1) return 0;
    int n = 0;
    out[n++] = kFirst[offset];
    const unsigned* end = kExtra + kExtraCount;
    for (const unsigned* e = std::lower_bound(kExtra, end, offset << 9); e != end && (*e >> 9) == offset && n < max; ++e)
        out[n++] = static_cast<uint16_t>(*e & 0x1FF);
    return n;
}

constexpr int kMaxReadings = 16;
constexpr size_t kMaxPinyinQuery = 63; // query positions fit one 64-bit set

std::wstring Trimmed(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

} // namespace

std::vector<std::string> PinyinOf(wchar_t c) {
    uint16_t ids[kMaxReadings];
    const int n = ReadingsOf(c, ids, kMaxReadings);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(Syllables()[ids[i]]);
    return out;
}

size_t PinyinTableBytes() {
    return sizeof kFirst + static_cast<size_t>(kExtraCount) * sizeof kExtra[0] + std::string_view(kSyllables).size() + 1;
}

wchar_t FoldChar(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<wchar_t>(u + 32);
    if (u >= 0xFF01 && u <= 0xFF5E) return FoldChar(static_cast<wchar_t>(u - 0xFF01 + 0x21)); // full width
    if ((u >= 0xC0 && u <= 0xDE && u != 0xD7) || (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) || (u >= 0x410 && u <= 0x42F))
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 80); // Ѐ..Џ
    return c;
}

std::wstring FoldCase(const std::wstring& s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        c = FoldChar(c);
    return out;
}

void FindIndex::Clear() {
    entries_.clear();
    keys_.clear();
    pool_.clear();
}

void FindIndex::Reserve(size_t entries) {
    entries_.reserve(entries);
    keys_.reserve(entries);
}

void FindIndex::Add(FindEntry entry) {
    Key key;
    key.folded = FoldCase(entry.name);
    key.readings = kNoHan;
    const bool han = std::any_of(key.folded.begin(), key.folded.end(), [](wchar_t c) { return IsTableChar(c); });
    if (han) {
        key.readings = static_cast<uint32_t>(pool_.size());
        for (wchar_t c : key.folded) {
            uint16_t ids[kMaxReadings];
            const int n = ReadingsOf(c, ids, kMaxReadings);
            pool_.push_back(static_cast<uint16_t>(n));
            pool_.insert(pool_.end(), ids, ids + n);
        }
    }
    keys_.push_back(std::move(key));
    entries_.push_back(std::move(entry));
}

// The first character from which the query spells a run of the name: every Chinese character by a
// beginning of one of its readings (one letter at least), every character also by itself. The set
// of query positions reached so far is carried along the name, so every reading of every character
// is tried at once. -1: nowhere.
int FindIndex::PinyinStart(const Key& key, const std::wstring& q) const {
    if (key.readings == kNoHan || q.empty() || q.size() > kMaxPinyinQuery) return -1;
    const auto& syllables = Syllables();
    const size_t n = key.folded.size(), qn = q.size();
    const uint64_t done = uint64_t{1} << qn;
    size_t startAt = key.readings; // readings of character `s` in the pool
    for (size_t s = 0; s < n; ++s) {
        uint64_t reached = 1; // query position 0
        size_t at = startAt;
        for (size_t i = s; i < n && reached; ++i) {
            const wchar_t c = key.folded[i];
            const uint16_t count = pool_[at];
            uint64_t next = 0;
            for (uint64_t left = reached; left; left &= left - 1) {
                const size_t p = static_cast<size_t>(__builtin_ctzll(left));
                if (q[p] == c) next |= uint64_t{1} << (p + 1);
                for (uint16_t r = 0; r < count; ++r) {
                    const std::string_view sy = syllables[pool_[at + 1 + r]];
                    for (size_t j = 0; j < sy.size() && p + j < qn && q[p + j] == static_cast<wchar_t>(sy[j]); ++j)
                        next |= uint64_t{1} << (p + j + 1);
                }
            }
            if (next & done) return static_cast<int>(s);
            reached = next;
            at += 1 + count;
        }
        startAt += 1 + pool_[startAt];
    }
    return -1;
}

MatchTier FindIndex::Match(size_t i, const std::wstring& folded, int* start) const {
    const Key& key = keys_[i];
    const size_t found = key.folded.find(folded);
    int pinyin = -1;
    if (found != 0) {
        std::wstring spelt; // spaces and apostrophes only part syllables in pinyin
        for (wchar_t c : folded)
            if (c != L' ' && c != L'\'') spelt += c;
        pinyin = PinyinStart(key, spelt);
    }
    MatchTier tier = MatchTier::None;
    int at = -1;
    if (found == 0) {
        tier = MatchTier::NameStart, at = 0;
    } else if (pinyin == 0) {
        tier = MatchTier::PinyinStart, at = 0;
    } else if (found != std::wstring::npos) {
        tier = MatchTier::NameMiddle, at = static_cast<int>(found);
    } else if (pinyin > 0) {
        tier = MatchTier::PinyinMiddle, at = pinyin;
    }
    if (start) *start = at;
    return tier;
}

std::vector<int> FindIndex::Find(const std::wstring& query, const std::vector<int>* among) const {
    const std::wstring folded = FoldCase(Trimmed(query));
    std::vector<int> out;
    if (folded.empty()) return out;
    struct Hit {
        MatchTier tier;
        int start;
        int index;
    };
    std::vector<Hit> hits;
    const auto look = [&](size_t i) {
        int start = -1;
        const MatchTier tier = Match(i, folded, &start);
        if (tier != MatchTier::None) hits.push_back({tier, start, static_cast<int>(i)});
    };
    if (among) {
        for (int i : *among)
            if (i >= 0 && static_cast<size_t>(i) < keys_.size()) look(static_cast<size_t>(i));
    } else {
        for (size_t i = 0; i < keys_.size(); ++i)
            look(i);
    }
    std::sort(hits.begin(), hits.end(), [this](const Hit& a, const Hit& b) {
        if (a.tier != b.tier) return a.tier < b.tier;
        if (a.start != b.start) return a.start < b.start;
        const std::wstring &na = keys_[static_cast<size_t>(a.index)].folded, &nb = keys_[static_cast<size_t>(b.index)].folded;
        if (na.size() != nb.size()) return na.size() < nb.size();
        if (na != nb) return na < nb;
        return a.index < b.index;
    });
    out.reserve(hits.size());
    for (const Hit& h : hits)
        out.push_back(h.index);
    return out;
}

size_t FindIndex::MemoryBytes() const {
    size_t bytes = entries_.capacity() * sizeof(FindEntry) + keys_.capacity() * sizeof(Key) +
                   pool_.capacity() * sizeof(uint16_t);
    const auto heap = [](const std::wstring& s) {
        // Short strings live inside the record; longer ones on the heap.
        return s.capacity() * sizeof(wchar_t) > sizeof(std::wstring) - sizeof(size_t) * 2
                   ? (s.capacity() + 1) * sizeof(wchar_t)
                   : 0;
    };
    for (const FindEntry& e : entries_)
        bytes += heap(e.name);
    for (const Key& k : keys_)
        bytes += heap(k.folded);
    return bytes;
}
