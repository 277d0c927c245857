// The debug log: one line per call in "dbg.log" beside the executable (or where g_logPath says).
#pragma once
#include <string>

#include "base/win.h"

// Where the debug log goes when it cannot lie beside the executable (set with the per-user INI
// file); empty: beside the executable.
extern std::wstring g_logPath;

// Appends one line to the debug log; failures are silent.
void LogDbg(const std::wstring& message);
// One line for a call that failed with an HRESULT: "<what> failed hr=0x8000FFFF".
void LogHr(const std::wstring& what, HRESULT hr);
// One line for a call that failed and set the thread's last error: "<what> failed error=5".
void LogLastError(const std::wstring& what);
