#include "e2e/harness.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

pid_t Spawn(const std::vector<std::string>& argv, int outFd, const std::string& cwd) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&fa, outFd, 1);
    } else {
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    std::string oldCwd;
    if (!cwd.empty()) {
        oldCwd = fs::current_path().string();
        fs::current_path(cwd);
    }
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) pid = -1;
    if (!oldCwd.empty()) fs::current_path(oldCwd);
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

} // namespace

CmdResult Run(const std::vector<std::string>& argv) {
    CmdResult r;
    int fds[2];
    if (pipe(fds) != 0) return r;
    const pid_t pid = Spawn(argv, fds[1], "");
    close(fds[1]);
    // Read until the command has ended and its output is drained. End of file alone is not enough:
    // a Wine helper that the command starts (the desktop process) inherits the pipe and outlives it.
    char buf[4096];
    int st = 0;
    bool ended = pid < 0;
    for (;;) {
        pollfd p = {fds[0], POLLIN, 0};
        if (poll(&p, 1, ended ? 0 : 100) > 0) {
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            r.out.append(buf, static_cast<size_t>(n));
            continue;
        }
        if (ended) break;
        ended = waitpid(pid, &st, WNOHANG) == pid;
    }
    close(fds[0]);
    if (pid < 0) return r;
    if (!ended) waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool Available(std::string* why) {
    for (const char* v : {"WINEPREFIX", "DISPLAY", "BC_WIN_BUILD"}) {
        if (Env(v).empty()) {
            *why = std::string(v) + " is not set: run the tests through tools/test.sh";
            return false;
        }
    }
    if (!fs::exists(fs::path(Env("BC_WIN_BUILD")) / "brindlecot.exe")) {
        *why = "brindlecot.exe is missing in BC_WIN_BUILD";
        return false;
    }
    return true;
}

std::string WinPath(const fs::path& p) {
    std::string s = "Z:" + fs::absolute(p).string();
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Touch(const fs::path& p, const std::string& content) { std::ofstream(p, std::ios::binary) << content; }

Scenario::Scenario() {
    std::string why;
    if (!Available(&why)) throw std::runtime_error(why);
    std::string tmpl = (fs::temp_directory_path() / "bc-e2e-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    desk_ = root_ / "desk";
    app_ = root_ / "app";
    fs::create_directories(desk_);
    fs::create_directories(app_);
    fs::copy_file(fs::path(Env("BC_WIN_BUILD")) / "brindlecot.exe", app_ / "brindlecot.exe");
    UseDesktop(WinPath(desk_));
}

Scenario::~Scenario() {
    if (Running()) {
        Quit(std::chrono::seconds(5));
        if (Running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void Scenario::UseDesktop(const std::string& winPath) {
    Run({"wine", "reg", "add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
         "/v", "Desktop", "/t", "REG_EXPAND_SZ", "/d", winPath, "/f"});
}

void Scenario::Start() {
    pid_ = Spawn({"wine", (app_ / "brindlecot.exe").string()}, -1, root_.string());
    exitCode_ = -1;
}

bool Scenario::Running() {
    if (pid_ < 0) return false;
    int st = 0;
    const pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == 0) return true;
    if (r == pid_) exitCode_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    pid_ = -1;
    return false;
}

int Scenario::Quit(std::chrono::milliseconds deadline) {
    WinTool({"post", "BrindlecotMain", "0x10"}); // WM_CLOSE: the main window is destroyed, the loop ends
    if (!WaitFor([&] { return !Running(); }, deadline)) return -1;
    return exitCode_;
}

CmdResult Scenario::WinTool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"wine", (fs::path(Env("BC_WIN_BUILD")) / "wintool.exe").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv);
}

bool Scenario::MainWindowExists() { return !WinTool({"windows", "BrindlecotMain"}).out.empty(); }

std::vector<WindowInfo> Scenario::Windows(const std::string& cls) {
    std::vector<WindowInfo> out;
    const std::string text = WinTool({"windows", cls}).out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        WindowInfo w;
        char hwnd[32] = {}, parent[128] = {};
        int vis = 0, consumed = 0;
        if (std::sscanf(line.c_str(), "%31s %d %d %d %d %d %127s %n", hwnd, &vis, &w.x, &w.y, &w.w, &w.h, parent,
                        &consumed) < 7)
            continue;
        w.hwnd = hwnd;
        w.visible = vis != 0;
        w.parentClass = parent;
        w.title = line.substr(static_cast<size_t>(consumed));
        out.push_back(w);
    }
    return out;
}

bool Scenario::MenuOpen() {
    for (const auto& w : Windows("#32768"))
        if (w.visible) return true;
    return false;
}

bool Scenario::ChooseFromTray(const std::string& key, int times) {
    if (!WaitFor([&] { return !MenuOpen(); }, std::chrono::seconds(10))) return false;
    Run({"xdotool", "mousemove", "12", "32", "click", "3"});
    if (!WaitFor([&] { return MenuOpen(); }, std::chrono::seconds(10))) return false;
    for (int i = 0; i < times; ++i) WinTool({"post", "#32768", "0x100", key}); // WM_KEYDOWN
    WinTool({"post", "#32768", "0x100", "0x0D"});                              // Return
    return true;
}

void Scenario::Screenshot(const fs::path& png) { Run({"import", "-window", "root", png.string()}); }

} // namespace e2e
