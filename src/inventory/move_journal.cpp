#include "inventory/move_journal.h"

#include "inventory/item.h"
#include "inventory/scan.h"

namespace {
std::wstring Folder(const std::wstring& path) {
    const size_t sep = path.find_last_of(L"\\/");
    return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep);
}
} // namespace

std::wstring FormatMoveJournal(const std::vector<MoveRecord>& records) {
    std::wstring text;
    for (const MoveRecord& r : records) text += r.temp + L'\t' + r.from + L'\t' + r.to + L'\n';
    return text;
}

std::vector<MoveRecord> ParseMoveJournal(const std::wstring& text) {
    std::vector<MoveRecord> records;
    for (size_t at = 0, end; (end = text.find(L'\n', at)) != std::wstring::npos; at = end + 1) {
        const std::wstring line = text.substr(at, end - at);
        const size_t a = line.find(L'\t'), b = a == std::wstring::npos ? a : line.find(L'\t', a + 1);
        if (b == std::wstring::npos || line.find(L'\t', b + 1) != std::wstring::npos) continue;
        MoveRecord r{line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)};
        const bool beside = !Folder(r.temp).empty() && SamePathIgnoreCase(Folder(r.temp), Folder(r.to));
        if (r.from.empty() || !beside || !IsMoveTempName(GetFileName(r.temp))) continue;
        records.push_back(std::move(r));
    }
    return records;
}
