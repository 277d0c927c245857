#include "boxes/box_rules.h"

#include <algorithm>

#include "inventory/scan.h"
#include "render/scene.h"

Size DefaultBoxSize(int cellW, int cellH, size_t itemCount, int dpi) {
    const int width = (cellW + ScaleLen(3, dpi)) * kDefaultColumns;
    int columns = cellW > 0 ? (width - ScaleLen(kGridMargin, dpi)) / cellW : 1;
    if (columns < 1) columns = 1;
    const size_t cols = static_cast<size_t>(columns);
    size_t rows = (itemCount + cols - 1) / cols;
    if (rows < 1) rows = 1;
    return {width, cellH * static_cast<int>(rows) + ScaleLen(kTitleAndMargin, dpi)};
}

int CapDefaultHeight(int computed, int workAreaHeight, int minimum) {
    const int cap = workAreaHeight > minimum ? workAreaHeight : minimum;
    return computed < cap ? computed : cap;
}

Point DefaultBoxPos(int index) {
    return {index * 250 + 40, 40};
}

int StoredOrComputed(int stored, int minimum, int computed) {
    return stored >= minimum ? stored : computed;
}

int StoredLength(int stored, int minimum, int computed, int most) {
    if (stored < minimum) return computed;
    return std::min(stored, std::max(most, minimum));
}

bool IsShellImageName(const std::wstring& imageName) {
    return imageName.find(L"explorer.exe") != std::wstring::npos;
}

int MaxScrollY(size_t itemCount, int clientW, int clientH, int cellW, int cellH, int dpi) {
    int columns = cellW > 0 ? (clientW - ScaleLen(kGridMargin, dpi)) / cellW : 1;
    if (columns < 1) columns = 1;
    const size_t cols = static_cast<size_t>(columns);
    const long long rows = static_cast<long long>((itemCount + cols - 1) / cols);
    const long long most = rows * cellH - (clientH - ScaleLen(kTitleAndMargin, dpi));
    return most > 0 ? static_cast<int>(most > 0x7fffffff ? 0x7fffffff : most) : 0;
}

int ScrollToShow(int index, int scrollY, size_t itemCount, int clientW, int clientH, int cellW, int cellH, int dpi) {
    const Rect cell = CellRectAt(index, clientW, 0, cellW, cellH, dpi);
    const int gridTop = ScaleLen(kGridTop, dpi);
    int y = scrollY;
    if (cell.top - y < gridTop) y = cell.top - gridTop;
    if (cell.bottom - y > clientH) y = cell.bottom - clientH;
    const int most = MaxScrollY(itemCount, clientW, clientH, cellW, cellH, dpi);
    return y < 0 ? 0 : y > most ? most : y;
}

std::wstring NewBoxKey(const std::wstring& name, const std::vector<std::wstring>& existingKeys) {
    if (std::find(existingKeys.begin(), existingKeys.end(), name) != existingKeys.end()) return name;
    for (const auto& key : existingKeys)
        if (SameNameIgnoreCase(key, name)) return key;
    return name;
}
