#include "boxes/box_rules.h"

Size DefaultBoxSize(int cellW, int cellH, size_t itemCount) {
    const int width = (cellW + 3) * kDefaultColumns;
    int columns = cellW > 0 ? (width - kGridMargin) / cellW : 1;
    if (columns < 1) columns = 1;
    const size_t cols = static_cast<size_t>(columns);
    size_t rows = (itemCount + cols - 1) / cols;
    if (rows < 1) rows = 1;
    return {width, cellH * static_cast<int>(rows) + kTitleAndMargin};
}

Point DefaultBoxPos(int index) {
    return {index * 250 + 40, 40};
}

int StoredOrComputed(int stored, int minimum, int computed) {
    return stored >= minimum ? stored : computed;
}

bool IsShellImageName(const std::wstring& imageName) {
    return imageName.find(L"explorer.exe") != std::wstring::npos;
}
