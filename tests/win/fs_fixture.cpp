#include "base/process_win.h"
#include "win/fs_fixture.h"

#include "base/strutil.h"

namespace wt {

TempDir::TempDir(const std::wstring& tag) {
    wchar_t tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    std::wstring base = tmp;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
        path_ =
            base + L"\\bc-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL | (a & FILE_ATTRIBUTE_DIRECTORY));
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        std::vector<std::wstring> names;
        do {
            const std::wstring n = fd.cFileName;
            if (n != L"." && n != L"..") names.push_back(n);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        for (const auto& n : names)
            RemoveTree(path + L"\\" + n);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        out.append(buf, got);
    CloseHandle(f);
    return out;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeDir(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

namespace {
void Walk(const std::wstring& root, const std::wstring& rel, std::map<std::wstring, Entry>& out) {
    WIN32_FIND_DATAW fd;
    const std::wstring dir = rel.empty() ? root : root + L"\\" + rel;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<std::pair<std::wstring, DWORD>> found;
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") found.emplace_back(n, fd.dwFileAttributes);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    for (const auto& f : found) {
        const std::wstring r = rel.empty() ? f.first : rel + L"\\" + f.first;
        Entry e;
        e.isDir = (f.second & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.attrs = f.second & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
        if (!e.isDir) e.bytes = ReadBytes(root + L"\\" + r);
        out[r] = e;
        if (e.isDir) Walk(root, r, out);
    }
}
} // namespace

std::map<std::wstring, Entry> Snapshot(const std::wstring& root) {
    std::map<std::wstring, Entry> out;
    Walk(root, L"", out);
    return out;
}

std::vector<std::wstring> ReadDebugLog() {
    std::string bytes = ReadBytes(PathBesideExe(GetExePath(), L"dbg.log"));
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(Utf8ToWide(line));
        start = end + 1;
    }
    return lines;
}

bool WriteIniText(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return WriteBytes(path, bytes);
}

} // namespace wt
