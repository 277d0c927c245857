// Drives brindlecot.exe under Wine + Xvfb from a native test: a throw-away desktop folder and program
// folder per scenario, polling with deadlines, screenshots, and a clean end.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

struct CmdResult {
    int status = -1; // exit code, or -1 when the command could not run
    std::string out;
};

// Runs a command (argv form) with the scenario's environment and collects its standard output.
CmdResult Run(const std::vector<std::string>& argv);

// Polls cond every 100 ms until it holds or the deadline passes; returns the last answer.
bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds deadline);

// Whether the environment prepared by tools/test.sh is there (Wine prefix, display, Windows build).
bool Available(std::string* why);

// Whole files, for the checks of a scenario.
std::string ReadFile(const fs::path& p);
void Touch(const fs::path& p, const std::string& content = "x");

// "Z:\tmp\..." for a Linux path.
std::string WinPath(const fs::path& p);

// One window as wintool lists it.
struct WindowInfo {
    std::string hwnd;
    bool visible = false;
    int x = 0, y = 0, w = 0, h = 0;
    std::string parentClass; // "-" for a top-level window
    std::string title;       // UTF-8
};

class Scenario {
  public:
    // Makes <tmp>/bc-e2e-XXXXXX with desk/ and app/ (a copy of brindlecot.exe); throws, failing the
    // test, when the environment of tools/test.sh is missing.
    Scenario();
    ~Scenario(); // ends the program if it still runs, removes the folders

    const fs::path& Desk() const { return desk_; }
    const fs::path& AppDir() const { return app_; }
    fs::path Ini() const { return app_ / "brindlecot.ini"; }
    fs::path Log() const { return app_ / "dbg.log"; }

    // Points the prefix's desktop folder at Desk() (or at any folder given).
    void UseDesktop(const std::string& winPath);
    void Start();                     // starts the program from another working directory
    bool Running();                   // the process has not ended yet
    int Quit(std::chrono::milliseconds deadline); // asks the main window to close; exit code or -1
    CmdResult WinTool(const std::vector<std::string>& args);
    bool MainWindowExists();
    std::vector<WindowInfo> Windows(const std::string& cls); // all windows of a class, in z-order
    std::vector<WindowInfo> Boxes() { return Windows("BrindlecotClass"); }
    void Screenshot(const fs::path& png);
    // Whether a popup menu is open.
    bool MenuOpen();
    // Right-clicks the tray icon (Wine's tray window at the top left of the screen) and moves through
    // the menu with `times` posted keys, then Return (xdotool's keys do not reach a menu of another
    // process under Wine). False when the menu did not open.
    bool ChooseFromTray(const std::string& key, int times);

  private:
    fs::path root_, desk_, app_;
    pid_t pid_ = -1;
    int exitCode_ = -1;
};

} // namespace e2e
