#include "app/app_win.h"
#include "inventory/inventory_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    StartUp(instance);
    const int code = MainLoop();
    DestroyIconCache();
    return code;
}
