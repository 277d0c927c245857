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

// Text kept inside a box of w x h, as a cell shows a name: wrapped between words, a word wider than the
// box broken between its characters, as many lines as wholly fit (at least one), and the last of them
// cut with "…" when more text follows. Drawn as `head` at the box's top and, when cut, `last` (one
// line, trimmed with an ellipsis sign) lastTop below it. Borrowed like TextLayoutFor's.
struct FittedText {
    IDWriteTextLayout* head = nullptr; // the whole text when it fits, else the lines before the last (or null)
    IDWriteTextLayout* last = nullptr; // null when nothing is cut
    float lastTop = 0;
    int lines = 0; // lines shown
    bool cut = false;
};
// Nothing (head and last null) when no layout can be made.
FittedText FittedTextFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h);

// One line in a box of w x h, as a title band shows it: cut with "…" when wider than the box, and
// made smaller when its line is taller than the box. Null when it cannot be made.
IDWriteTextLayout* OneLineLayoutFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h);

// Height of one line of the format's font (Latin and Chinese text), in pixels; 0 when unknown.
float LineHeightOf(IDWriteTextFormat* format);

// Where drawn fitted text (FittedTextFor) can reach, relative to the top left of its box: the layouts'
// overhangs and a pixel more for the edge of the ink; the box itself when no layout can be made.
RectF TextInkFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h);

// Lets go of every layout (after a font change or a device rebuild).
void ForgetTextLayouts();
size_t TextLayoutCount();
