// The registry of live boxes.
#include "render/box_record_win.h"

std::vector<BoxWin*> g_boxes;

int BoxIndex(const BoxWin* box) {
    for (size_t i = 0; i < g_boxes.size(); ++i)
        if (g_boxes[i] == box) return static_cast<int>(i);
    return -1;
}
