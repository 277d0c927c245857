// The INI file beside the executable, through the platform's private-profile functions.
// Every function does nothing (or returns its default) while g_iniPath is empty.
#pragma once
#include <string>

// Before a write into a file that does not exist yet or holds 0 bytes, the file gets the UTF-16LE
// byte-order mark, so Chinese section and key names round-trip under any system code page. A file
// that another program has saved in another form since is converted again (as at start) before
// anything is written into it.
void IniEnsureFile();

// At start, and before a write into a file that has lost its form: a file in any other form than
// UTF-16LE with the mark (UTF-8 with or without its mark, UTF-16LE without it, UTF-16 big-endian with
// its mark, ANSI) is rewritten in that form, its original bytes kept beside it under the first free
// name of "<name>.bak", "<name>.bak2", ... (one log line names it). A file already in that form is
// never rewritten.
void IniConvertToUtf16(const std::wstring& path);

int IniGetInt(const wchar_t* section, const wchar_t* key, int def);
// Reads into a buffer of bufChars characters (so at most bufChars - 1 come back).
std::wstring IniGetString(const wchar_t* section, const wchar_t* key, const wchar_t* def, int bufChars);
// Reads the whole section, however long: the raw "line\0line\0\0" block without its final NULs.
std::wstring IniGetSection(const wchar_t* section);

// A write or delete that fails is logged with the path and the error, and the user is told once
// (through the handler below); later failures of the same run say nothing more.
void IniWrite(const wchar_t* section, const wchar_t* key, const std::wstring& value);
void IniDeleteKey(const wchar_t* section, const wchar_t* key);
void IniDeleteSection(const wchar_t* section);
void IniFlush(); // writes the platform's cached copy of the file to disk
// Tells that decisions cannot be saved: `line` (ending in the error) to the log and, once per run,
// to the user; later failures of the same run say nothing more.
void IniReportCannotSave(const std::wstring& line, unsigned long error);
// How the user is told (start-up sets the tray balloon); null: the log line only.
using IniWriteFailureFn = void (*)(const std::wstring& title, const std::wstring& text);
void SetIniWriteFailureHandler(IniWriteFailureFn tell);
// Between these (a batch: a drop of many files), writes and deletes are held in memory and reads see
// them; IniFlush only notes that a flush is owed. The last release writes what was held, one
// rewrite of the file per section, with the file the writes one by one would have left. What cannot
// be written then (the file is held by another program) stays held and is tried again at the next
// write, flush or release, and by IniWriteHeld.
void IniHoldFlushes();
void IniReleaseFlushes();
// A batch for the length of a scope (a layout pass that moves several boxes).
class IniBatch {
  public:
    IniBatch() { IniHoldFlushes(); }
    ~IniBatch() { IniReleaseFlushes(); }
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;
};
// Writes what is held now (a long batch does so now and then; the program does at exit).
void IniWriteHeld();
// Forgets that a write has failed, as at the start of a run (the next failure is reported again).
void IniForgetWriteFailure();

// A file that exists but could not be read at start (another program held it) is unread: until it
// has been read, edits are held in memory (reads see them) and nothing is written into it, so that
// nothing the program has not read (places, sizes, lists) replaces what the file holds. Tied to
// the current path.
void IniSetUnread(bool unread);
bool IniUnread();
// When the unread file can be opened now: converted as at start if need be, no longer unread, true.
// The caller then reads what it needs and only then writes what waits (IniWriteHeld).
bool IniReadAgain();
