// One entry from one place to another without a cut-short file ever bearing the user's name.
// On one volume a move is a rename: whole or not at all. Across volumes the file system can only
// copy: the copy is made under a temporary name beside the destination, renamed into place once it
// is whole, and only then is the source removed. A run that ends in between leaves the temporary
// copy (never shown by the scan, removed at the next start) and the whole source.
#include "base/log_win.h"
#include "base/strutil.h"
#include "inventory/inventory_win.h"
#include "inventory/scan.h"

bool (*g_moveAfterCopy)(const std::wstring& temp) = nullptr;

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

// A whole copy of the file `from` under a free temporary name in the folder of `to`, or empty.
std::wstring CopyBeside(const std::wstring& from, const std::wstring& to) {
    const size_t sep = to.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return std::wstring();
    for (int attempt = 0; attempt < 8; ++attempt) {
        const unsigned long id = GetCurrentProcessId() * 0x9E3779B1ul + GetTickCount() + ++g_tempCount;
        const std::wstring temp = to.substr(0, sep + 1) + MoveTempName(id & 0xFFFFFFFFul);
        if (CopyFileExW(from.c_str(), temp.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS))
            return temp;
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) continue;
        DeleteAnyFile(temp); // whatever part of the copy was written
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
    if (!MoveFileExW(temp.c_str(), to.c_str(), 0)) {
        DeleteAnyFile(temp);
        return false;
    }
    if (DeleteAnyFile(from)) return true;
    // The source cannot go (in use): the entry stays where it was, whole, and the copy goes again.
    const DWORD err = GetLastError();
    if (!DeleteAnyFile(to)) LogDbg(L"MOVE source kept and its copy too [" + to + L"]");
    LogDbg(L"MOVE source cannot be removed [" + from + L"] error=" + IntToW(static_cast<int>(err)));
    return false;
}

} // namespace

bool MoveEntry(const std::wstring& from, const std::wstring& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    return MoveByCopy(from, to);
}

void RemoveUnfinishedMoves() {
    for (const std::wstring* folder : {&g_desktop, &g_hidden}) {
        std::vector<DirEntry> listing;
        if (folder->empty() || !ListFolder(*folder, listing)) continue;
        for (const DirEntry& e : listing) {
            if (e.isDir || !IsMoveTempName(e.name)) continue;
            const std::wstring path = *folder + L"\\" + e.name;
            const bool removed = DeleteAnyFile(path);
            const DWORD err = GetLastError();
            LogDbg(removed ? L"MOVE unfinished copy removed [" + path + L"]"
                           : L"MOVE unfinished copy cannot be removed [" + path + L"] error=" +
                                 IntToW(static_cast<int>(err)));
        }
    }
}
