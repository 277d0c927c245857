// Throw-away folders and files for the Windows tests: a unique folder under the temp path, byte
// snapshots of whole trees, and the debug log beside the test executable.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "base/win.h"

namespace wt {

// A new empty folder under GetTempPathW; removed with everything in it when the object goes.
class TempDir {
  public:
    explicit TempDir(const std::wstring& tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path); // clears read-only bits on the way
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path); // "" when it cannot be read
bool Exists(const std::wstring& path);
bool MakeDir(const std::wstring& path);

struct Entry {
    bool isDir = false;
    DWORD attrs = 0; // hidden, system, read-only as the platform reports them
    std::string bytes;
    bool operator==(const Entry& o) const { return isDir == o.isDir && attrs == o.attrs && bytes == o.bytes; }
};
// Every entry below root (relative path -> entry), recursively.
std::map<std::wstring, Entry> Snapshot(const std::wstring& root);

// Lines of "dbg.log" beside the running executable (byte-order mark and line ends removed).
std::vector<std::wstring> ReadDebugLog();

// A whole INI file written by hand as UTF-16LE with its byte-order mark.
bool WriteIniText(const std::wstring& path, const std::wstring& text);

} // namespace wt
