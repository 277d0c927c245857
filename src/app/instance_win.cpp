// One program per desktop: the first start holds a named mutex for its user and settings file; a
// second start finds it, asks the running program to show its boxes and say that it runs, and ends
// without touching a file or a line of the settings.
#include "app/instance_win.h"

#include <lmcons.h>

#include "app/instance.h"
#include "app/startup_win.h"
#include "app/tray_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "ui/menus.h"

namespace {

constexpr LRESULT kSecondStartAnswer = 0x4243; // the running program heard the second start
constexpr DWORD kAskTimeoutMs = 2000;
constexpr ULONGLONG kFindDeadlineMs = 10000; // the first program may still be starting
constexpr DWORD kFindPollMs = 100;

HANDLE g_instanceMutex = nullptr;
uint64_t g_instanceKey = 0;

UINT SecondStartMessage() {
    static const UINT msg = RegisterWindowMessageW(L"BrindlecotSecondStart");
    return msg;
}

struct Ask {
    WPARAM key;
    bool answered;
};

BOOL CALLBACK AskMainWindow(HWND hwnd, LPARAM param) {
    auto* ask = reinterpret_cast<Ask*>(param);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, kMainClass) != 0) return TRUE;
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutW(hwnd, SecondStartMessage(), ask->key, 0, SMTO_ABORTIFHUNG, kAskTimeoutMs, &reply) &&
        reply == static_cast<DWORD_PTR>(kSecondStartAnswer)) {
        ask->answered = true;
        return FALSE;
    }
    return TRUE;
}

std::wstring UserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    return GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
}

} // namespace

bool ClaimOnlyInstance() {
    g_instanceKey = InstanceKey(UserName(), PathBesideExe(GetExePath(), L"brindlecot.ini"));
    g_instanceMutex = CreateMutexW(nullptr, FALSE, InstanceMutexName(g_instanceKey).c_str());
    if (!g_instanceMutex || GetLastError() != ERROR_ALREADY_EXISTS) return true; // alone (or cannot tell)
    Ask ask{static_cast<WPARAM>(g_instanceKey), false};
    const ULONGLONG deadline = GetTickCount64() + kFindDeadlineMs;
    while (!ask.answered && GetTickCount64() < deadline) {
        EnumWindows(AskMainWindow, reinterpret_cast<LPARAM>(&ask));
        if (!ask.answered) Sleep(kFindPollMs);
    }
    return false;
}

bool AnswerSecondStart(HWND mainWnd, UINT msg, WPARAM wParam, LRESULT* answer) {
    if (msg == WM_SECONDSTART) {
        RunTrayCommand(kCmdShowAll, POINT{});
        ShowTrayBalloon(kMainTitle, L"Brindlecot 已在运行"); // Brindlecot is already running
        *answer = 0;
        return true;
    }
    if (msg == 0 || msg != SecondStartMessage() || wParam != static_cast<WPARAM>(g_instanceKey)) return false;
    // Answered at once; the boxes are shown from the main loop, not inside whatever was waiting.
    PostMessageW(mainWnd, WM_SECONDSTART, 0, 0);
    *answer = kSecondStartAnswer;
    return true;
}
