// One entry from one place to another without a cut-short file ever bearing the user's name.
// On one volume a move is a rename: whole or not at all. Across volumes the file system can only
// copy: the copy is made under a temporary name beside the destination, renamed into place once it
// is whole, and only then is the source removed. The temporary's name and its move go into the move
// journal before the copy starts, and leave it once the temporary is gone: a run that ends in
// between leaves the temporary copy and the whole source, and the next start removes exactly the
// temporaries the journal names (never a file of the user's that only looks like one).
#include "base/log_win.h"
#include "base/strutil.h"
#include "inventory/inventory_win.h"
#include "inventory/move_journal.h"
#include "inventory/scan.h"
#include "settings/settings.h"

bool (*g_moveAfterCopy)(const std::wstring& temp) = nullptr;
bool (*g_deleteMoveSource)(const std::wstring& from) = nullptr;

namespace {

unsigned long g_tempCount = 0;

// Deletes a file even when it is read-only.
bool DeleteAnyFile(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_READONLY)) return false;
    SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileW(path.c_str())) return true;
    SetFileAttributesW(path.c_str(), attrs);
    return false;
}

// Whether nothing answers to the path any more (a path that cannot be asked about counts as there).
bool IsGone(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

// ---- The journal: beside the settings file, UTF-16LE with its mark, one record per line. ----

std::wstring g_journalFor;           // the journal path the records below were read from
std::vector<MoveRecord> g_journal;   // the temporaries that may still exist

std::wstring JournalPath() { return g_iniPath.empty() ? std::wstring() : DirOfPath(g_iniPath) + L"\\brindlecot.moves"; }

std::vector<MoveRecord> ReadJournal(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::wstring text;
    LARGE_INTEGER size = {};
    DWORD got = 0;
    if (GetFileSizeEx(f, &size) && size.QuadPart >= 2 && size.QuadPart < (16 << 20)) {
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        if (ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size() &&
            bytes.compare(0, 2, "\xFF\xFE") == 0)
            for (size_t i = 2; i + 1 < bytes.size(); i += 2)
                text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    CloseHandle(f);
    return ParseMoveJournal(text);
}

// The records as they stand now, read from the file the first time the path is used.
std::vector<MoveRecord>& Journal() {
    const std::wstring path = JournalPath();
    if (path != g_journalFor) g_journal = ReadJournal(path), g_journalFor = path;
    return g_journal;
}

// Writes the records through to the disk; no records, no file. False when it cannot be written.
bool WriteJournal() {
    const std::wstring path = JournalPath();
    if (path.empty()) return false;
    if (g_journal.empty()) return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    const std::wstring text = FormatMoveJournal(g_journal);
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(f);
    CloseHandle(f);
    return ok;
}

// Before the copy: the temporary and its move are on the disk. A journal that cannot be written
// leaves a temporary of a run cut short in place for good (shown like a file of the user's).
void JournalAdd(const MoveRecord& record) {
    Journal().push_back(record);
    if (!WriteJournal()) LogDbg(L"MOVE journal cannot be written [" + JournalPath() + L"]");
}

// The temporary is gone (renamed into place, removed, or never made by this move).
void JournalDrop(const std::wstring& temp) {
    std::vector<MoveRecord>& records = Journal();
    for (auto it = records.begin(); it != records.end(); ++it) {
        if (it->temp != temp) continue;
        records.erase(it);
        WriteJournal();
        return;
    }
}

// A whole copy of the file `from` under a free temporary name in the folder of `to`, journalled
// until it is gone; empty when there is none.
std::wstring CopyBeside(const std::wstring& from, const std::wstring& to) {
    const size_t sep = to.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return std::wstring();
    for (int attempt = 0; attempt < 8; ++attempt) {
        const unsigned long id = GetCurrentProcessId() * 0x9E3779B1ul + GetTickCount() + ++g_tempCount;
        const std::wstring temp = to.substr(0, sep + 1) + MoveTempName(id & 0xFFFFFFFFul);
        if (!IsGone(temp)) continue; // a file of the user's may bear the name: never journalled
        JournalAdd({temp, from, to});
        if (CopyFileExW(from.c_str(), temp.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS))
            return temp;
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) { // a file of that name: not ours
            JournalDrop(temp);
            continue;
        }
        DeleteAnyFile(temp); // whatever part of the copy was written
        JournalDrop(temp);
        LogDbg(L"MOVE copy failed [" + from + L"] error=" + IntToW(static_cast<int>(err)));
        return std::wstring();
    }
    return std::wstring();
}

// The move the file system carries out as a copy. Folders are not copied: they stay where they are.
bool MoveByCopy(const std::wstring& from, const std::wstring& to) {
    if (IsFolder(from.c_str())) return false;
    const std::wstring temp = CopyBeside(from, to);
    if (temp.empty()) return false;
    if (g_moveAfterCopy && !g_moveAfterCopy(temp)) return false; // cut short, as by the end of the run
    const bool placed = MoveFileExW(temp.c_str(), to.c_str(), 0) != 0;
    if (!placed) DeleteAnyFile(temp);
    JournalDrop(temp);
    if (!placed) return false;
    const bool deleted = g_deleteMoveSource ? g_deleteMoveSource(from) : DeleteAnyFile(from);
    const DWORD err = GetLastError();
    // Done only when the source is gone: a delete can report success and leave the file (a store on
    // a volume that became read-only). The user keeps one file, where it was; the copy goes again.
    if (deleted && IsGone(from)) return true;
    if (!DeleteAnyFile(to)) LogDbg(L"MOVE source kept and its copy too [" + to + L"]");
    LogDbg(deleted ? L"MOVE source still there after its delete, the copy removed again [" + from + L"]"
                   : L"MOVE source cannot be removed [" + from + L"] error=" + IntToW(static_cast<int>(err)));
    return false;
}

} // namespace

bool MoveEntry(const std::wstring& from, const std::wstring& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    return MoveByCopy(from, to);
}

void RemoveUnfinishedMoves() {
    std::vector<MoveRecord>& records = Journal();
    std::vector<MoveRecord> left; // what cannot be removed now is tried again at the next start
    for (const MoveRecord& r : records) {
        const DWORD attrs = GetFileAttributesW(r.temp.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) continue; // gone, or no copy of ours
        const std::wstring move = L" (move of [" + r.from + L"] to [" + r.to + L"])";
        if (DeleteAnyFile(r.temp)) {
            LogDbg(L"MOVE unfinished copy removed [" + r.temp + L"]" + move);
            continue;
        }
        LogDbg(L"MOVE unfinished copy cannot be removed [" + r.temp + L"] error=" +
               IntToW(static_cast<int>(GetLastError())) + move);
        left.push_back(r);
    }
    if (left.size() == records.size()) return; // nothing changed: nothing to write
    records.swap(left);
    WriteJournal();
}
