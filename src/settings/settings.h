// Appearance settings in memory, their defaults and the rules applied to stored values.
#pragma once
#include <functional>
#include <string>

extern std::wstring g_iniPath; // "<exe folder>\brindlecot.ini"; empty until InitIniPath ran
extern bool g_firstRun;        // no INI file existed at start

constexpr int g_skinCount = 8;    // rows in the skin table
extern const int g_trayIconCount; // 4 tray icon styles
extern int g_skinIndex;           // 2
extern int g_alpha;               // 130, allowed 30..255
extern int g_fontSize;            // 13, allowed 8..40
extern std::wstring g_fontName;   // "Microsoft YaHei UI"
extern std::wstring g_bgImage;    // background picture path, empty for none
extern std::wstring g_bgImageLoaded;
extern bool g_noOverlap;   // true
extern int g_trayIconStyle; // 0..3
extern int g_iconSize;      // 32, allowed 16..128
extern bool g_desktopDoubleClick; // true: a double click on the bare desktop hides or shows every box

// Buffer sizes (in characters, terminator included) of the string settings.
constexpr int kFontNameBuffer = 128;
constexpr int kBgImageBuffer = 260;

// Rules for values read from the INI file. Each returns the value the global takes.
int SkinFromStored(int stored, int current);     // 0..7 taken, else current kept
int AlphaFromStored(int stored);                 // clamped to 30..255
int FontSizeFromStored(int stored);              // clamped to 8..40
int TrayIconFromStored(int stored);              // 0..3 taken, else 0
bool IconSizeAccepted(int stored);               // 16..128
bool NoOverlapFromStored(int stored);            // non-zero is true
// A string read into a buffer of bufChars characters keeps at most bufChars - 1 of them.
std::wstring FitToBuffer(const std::wstring& s, int bufChars);
// What a typed (or stored) font name or picture path is used and written as: without surrounding
// blanks and one pair of surrounding quotes (as "Copy as path" gives), fitted to the buffer it is
// read back into. The profile functions drop the same blanks and quotes when they read, so what a
// run uses is what the next start reads.
std::wstring TypedSetting(const std::wstring& typed, int bufChars);

// A value the user typed for a setting, checked before anything is used or stored: `ok` with the
// value to use and store, or not `ok` with the message that tells the user why it was refused.
struct TypedCheck {
    bool ok = false;
    std::wstring value;
    std::wstring message;
};
enum class PictureFile { kDecodes, kMissing, kUndecodable };
// A font size: a whole number (blanks around it allowed) from 8 to 40, stored as that number.
TypedCheck CheckFontSize(const std::wstring& typed);
// A font name (as TypedSetting gives it) that `installed` says the system has.
TypedCheck CheckFontName(const std::wstring& typed, const std::function<bool(const std::wstring&)>& installed);
// A background picture path (as TypedSetting gives it) of a file that `probe` finds and can decode.
TypedCheck CheckPicture(const std::wstring& typed, const std::function<PictureFile(const std::wstring&)>& probe);

// Puts every setting back to its initial value (start of the program, and tests).
void ResetSettingsToDefaults();
