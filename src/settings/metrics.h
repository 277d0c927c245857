// Measures of a box and of its item grid: the fixed ones, and the cell size derived from the icon size.
// Every length is given for a 96-dpi monitor; a box on another monitor uses it times that monitor's
// DPI / 96 (ScaleLen), so a box looks the same size next to everything else on any monitor.
#pragma once

constexpr int kBaseDpi = 96;

// A remembered position keeps the corner only; the rest of the rectangle is this nominal box.
constexpr int kNominalBoxWidth = 240;
constexpr int kNominalBoxHeight = 360;
constexpr int kTitleBand = 30; // client rows above this move the box, open its menu, highlight nothing
constexpr int kGridMargin = 12; // horizontal space around the item grid
constexpr int kTitleBarHeight = 34; // painted title bar
constexpr int kGridLeft = 6;
constexpr int kGridTop = 42;
constexpr int kCellGapX = 6; // between a cell and the next one to its right
constexpr int kCellGapY = 8; // and below it
constexpr int kTitleInset = 8; // the title text from the box's sides
constexpr int kIconTop = 2; // an icon below its cell's top
constexpr int kMinBoxWidth = 140;  // smallest width a stored or dragged size may have
constexpr int kMinBoxHeight = 100; // smallest height
constexpr int kTitleAndMargin = 42; // title bar and the space below the grid
constexpr int kEdgeBorder = 6; // the resize strips along the four sides
constexpr int kWheelStep = 40; // pixels per wheel notch
constexpr int kDragSlop = 5; // a press becomes a drag beyond this distance
constexpr int kCollapsedHeight = 36;

extern int g_cellW; // 78 for icons of 32
extern int g_cellH; // 84 for icons of 32

// An item's name shows on this many lines at most, below its icon in a band at least kNameBand high.
constexpr int kNameLines = 2;
constexpr int kNameBand = 40;
// Height of one line of the name font in pixels at 96 dpi, as measured where the font is; 0 until then.
extern int g_nameLineHeight;

// Cell width and height for an icon edge: icon + 46 and icon + 52, each at least 64; the height grows
// with a name line so tall that kNameLines of them need more than kNameBand.
int CellWidthFor(int iconSize);
int CellHeightFor(int iconSize, int nameLineHeight = 0);

// g_cellW and g_cellH follow g_iconSize and g_nameLineHeight.
void UpdateCellSize();

// A DPI as a monitor reports it; anything outside what a monitor can have counts as 96.
int SaneDpi(int dpi);
// A 96-dpi length at `dpi`: len x dpi / 96 rounded to the nearest pixel, halves away from zero (as
// MulDiv rounds). Exact at 96.
int ScaleLen(int len, int dpi);
// A length measured at `fromDpi` at `toDpi`, rounded the same way (a stored size on another monitor).
int RescaleLen(int len, int fromDpi, int toDpi);
// A font size in pixels at `dpi` (text is laid out at the real size, not stretched).
float ScaleFont(float size, int dpi);

// Every length a box uses on a monitor of one DPI.
struct BoxMetrics {
    int dpi = kBaseDpi;
    int iconSize = 32;
    int cellW = 78;
    int cellH = 84;
    int nameLine = 0; // 0 while the name font is not measured
    int titleBand = kTitleBand;
    int titleBar = kTitleBarHeight;
    int gridLeft = kGridLeft;
    int gridTop = kGridTop;
    int gridMargin = kGridMargin;
    int outline = 1; // the box's border
    int edge = kEdgeBorder;
    int minW = kMinBoxWidth;
    int minH = kMinBoxHeight;
    int titleAndMargin = kTitleAndMargin;
    int collapsedH = kCollapsedHeight;
    int expandedH = kNominalBoxHeight;
    int dragSlop = kDragSlop;
    int wheelStep = kWheelStep;
    float fontSize = 13; // the title's, in pixels; names are NameFontSize of it
};

// The measures of `at96` (96-dpi figures, with the icon, cell, name line and font of the settings)
// at `dpi`. At 96 they are `at96` itself.
BoxMetrics ScaledMetrics(const BoxMetrics& at96, int dpi);
