// The generated reading table of the CJK Unified Ideographs block (find_pinyin_table.cpp).
#pragma once

namespace pinyin_data {

constexpr unsigned kFirstChar = 0x4E00;
constexpr unsigned kLastChar = 0x9FFF;
extern const int kSyllableCount;
extern const char kSyllables[];                            // syllables 1..kSyllableCount, space-ended
extern const unsigned short kFirst[kLastChar - kFirstChar + 1]; // first reading's syllable, 0: none
extern const int kExtraCount;
extern const unsigned kExtra[]; // (char - kFirstChar) << 9 | syllable, ascending

} // namespace pinyin_data
