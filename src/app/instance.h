// One program per desktop: what names the running program of a user and a settings file.
#pragma once
#include <cstdint>
#include <string>

// A key of the user and the settings file (letter case of ASCII letters and the kind of slash in
// the path do not count, as the file system does not count them).
uint64_t InstanceKey(const std::wstring& user, const std::wstring& iniPath);
// The name of the mutex the running program holds: in the session's own namespace, so another
// session (another user logged on) runs its own program.
std::wstring InstanceMutexName(uint64_t key);
