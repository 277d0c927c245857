#include "app/instance_win.h"
#include "app/startup_win.h"
#include "inventory/inventory_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!ClaimOnlyInstance()) return 0; // the running program shows itself instead
    StartUp(instance);
    const int code = MainLoop();
    DestroyIconCache();
    return code;
}
