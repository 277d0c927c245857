// What the find window does to the boxes: outlines what it found, shows one entry in its box.
#pragma once
#include <cstddef>
#include <vector>

// Outlines these items of each box (by position in g_boxes; ascending); boxes past the list: none.
void MarkFoundItems(const std::vector<std::vector<int>>& marks);
// Shows item `item` of box `box`: a hidden box is shown, a folded one opens, the box scrolls to the
// item and the item flashes a few times.
void RevealBoxItem(size_t box, int item);
