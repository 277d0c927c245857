// The journal of moves across volumes: each temporary copy's name, with the move it belongs to, is
// recorded before the copy starts and forgotten once the copy is renamed into place or removed. At
// the next start only the temporaries the journal names are removed: a file of the user's is never
// taken for one by its name.
#pragma once
#include <string>
#include <vector>

struct MoveRecord {
    std::wstring temp; // full path of the temporary copy
    std::wstring from; // the move it belongs to
    std::wstring to;
    bool operator==(const MoveRecord& o) const { return temp == o.temp && from == o.from && to == o.to; }
};

// One line per record: "temp<TAB>from<TAB>to<LF>" (no file name holds a tab or a line end).
std::wstring FormatMoveJournal(const std::vector<MoveRecord>& records);
// The whole records of a journal, in order. A line cut short (no line end, or not three paths) and a
// line whose temporary does not bear a temporary's name (MoveTempName) in the folder of the move's
// destination are left out: a journal written only in part names nothing but the program's copies.
std::vector<MoveRecord> ParseMoveJournal(const std::wstring& text);
