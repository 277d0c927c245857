// Start-up steps whose subsystem has not landed yet: each keeps its place in the start-up order.
#include "inventory/inventory_win.h"
#include "settings/lists_win.h"

void LoadManualGroups() {}
void LoadFreedItems() {}
void LoadBoxNames() {}
void LoadHiddenBoxes() {}
void LoadCustomBoxes() {}
void LoadPos() {}
void ScanAll() {}
void SavePos(const std::wstring&, int, int) {}
HICON GetFileIcon(const std::wstring&) { return nullptr; }
