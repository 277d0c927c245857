// Texts laid out once: a layout is kept by its text, its format's font and alignment and the size of
// its box, and reused until one of them changes. Layouts belong to no device, so they outlive render
// targets; they are let go of when the fonts change and when unused ones age out.
#pragma once
#include <string>

#include "base/win.h"
#include "render/scene.h"

#include <dwrite.h>

// The layout of text in format within a box of w x h, or null when none can be made. Borrowed: valid
// until the next call of a function of this file.
IDWriteTextLayout* TextLayoutFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h);

// Where the drawn text can reach, relative to the top left of its box: the layout's overhangs and a
// pixel more for the edge of the ink; the box itself when no layout can be made.
RectF TextInkFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h);

// Lets go of every layout (after a font change or a device rebuild).
void ForgetTextLayouts();
size_t TextLayoutCount();
