// Start-up steps whose subsystem has not landed yet: each keeps its place in the start-up order.
#include "app/app_win.h"

void SetupTray(HWND) {}
void ApplyTrayIcon() {}
void ShowTrayBalloon(const std::wstring&, const std::wstring&) {}
