// The printed month page in resolution-free units (1/100 mm) and their pixels at a resolution.
// Every decision about what fits is taken in units, so the preview and the printer lay out the
// same lines in each cell at any resolution; the page comes from the paper's size, never from
// the screen.
#pragma once

#include <array>
#include <vector>

namespace kal {

inline constexpr int kUnitsPerMm = 100;
inline constexpr int kUnitsPerInch = 2540;

int MmUnits(double mm);
int PointUnits(double points);
// Pixels of a length or a position at `dpi`, rounded; positions map edge by edge, so
// neighbouring cells share their border pixel.
int UnitsToPixels(int units, double dpi);
// Pen n is n/144 inch wide, never thinner than one pixel.
int PenPixels(int n, double dpi);
// The em size of a font of `points` at `dpi`, in pixels (not rounded).
double PointPixels(double points, double dpi);

// Indents inside a cell and the gaps of the page, in units.
inline constexpr int kDayLabelIndent = 100;
inline constexpr int kRokuyoIndent = 1200;
inline constexpr int kLineIndent = 100;
inline constexpr int kHeaderGap = 300;      // between the title band and the header row
inline constexpr int kDateAboveRule = 100;  // the creation date's bottom above the rule
inline constexpr int kTextBandPadding = 10; // added to each line's text height

// The paper as it lies (width and height after the orientation) and the strips at its edges
// that the printer cannot reach.
struct PageFrame {
    int width = 21000;
    int height = 29700;
    int minLeft = 0, minTop = 0, minRight = 0, minBottom = 0;
};

// Heights of one line of each font of the page, in units (0 for text that is not printed).
struct TextHeights {
    int title = 0;
    int creationDate = 0;
    int header = 0;
    int dayLabel = 0;
    int line = 0;
};

struct PageLayoutInput {
    PageFrame frame;
    int top = 20, bottom = 20, left = 20, right = 20; // margins in mm from the paper's edges
    int columns = 7;
    bool eraDates = true; // long Japanese weekday names need a taller header row
    TextHeights text;
};

struct PageLayout {
    // The area inside the margins.
    int left = 0, top = 0, right = 0, bottom = 0;
    int titleBottom = 0; // the title band runs from `top` to here; the rule lies along it
    int headerTop = 0, headerBottom = 0;
    std::vector<int> columnEdges;  // one more than the printed columns
    std::array<int, 7> rowEdges{}; // week row r (1..6) lies between rowEdges[r-1] and rowEdges[r]
    int dateBand = 0;              // the coloured band with the day number at a cell's top
    int lineBand = 0;              // one line of a cell
    int linesPerCell = 0;          // lines that start inside a cell; the last may be cut

    int columns() const { return static_cast<int>(columnEdges.size()) - 1; }
    int rowTop(int row) const { return rowEdges[static_cast<std::size_t>(row - 1)]; }
    int rowBottom(int row) const { return rowEdges[static_cast<std::size_t>(row)]; }
    int lineTop(int row, int index) const { return rowTop(row) + dateBand + index * lineBand; }
};

PageLayout LayOutPage(const PageLayoutInput& input);

} // namespace kal
