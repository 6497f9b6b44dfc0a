#pragma once
// The SVG picture of a drawing's model space, with what the report found drawn on top of it.
// The report sections fill the overlays; an item of an overlay is in drawing coordinates (y
// up), its texts are UTF-8. The picture opens in a browser and renders with rsvg-convert.

#include <optional>
#include <string>
#include <vector>

#include "DrawingScene.h"

namespace velmarin::inspect {

// A recognised table: its grid and its cells shaded by column kind.
struct TableGrid {
    std::vector<double> xs;  // the column boundaries, ascending
    std::vector<double> ys;  // the row boundaries, ascending
    struct Cell {
        int column = 0;  // 1-based: between xs[column - 1] and xs[column]
        int row = 0;     // 1-based: between ys[row - 1] and ys[row]
        int kind = 0;    // column kind 1..18; 0 for a cell of no column
    };
    std::vector<Cell> cells;
    // The legend's text for each kind (index kind - 1), such as "名称 (part name)"; a kind
    // without a text is shown by its number.
    std::vector<std::string> kindNames;
};

// A title-block value read, marked where its attribute or text stands.
struct ValueMarker {
    Point at;
    std::string label;  // such as "图名 = 总装图"
};

// A text a load would stamp, where it would land.
struct PrintTextMark {
    Point at;  // insertion point (lower left)
    std::string text;
    double height = 3.0;
    double widthFactor = 1.0;
};

struct Overlays {
    std::vector<TableGrid> tables;
    std::vector<ValueMarker> titleValues;
    std::optional<Point> frameCorner;
    std::vector<PrintTextMark> printTexts;
    // Lines shown above the drawing: what is missing or was not recognised.
    std::vector<std::string> notes;
};

// The whole SVG document. `title` names the drawing (UTF-8).
std::string DrawSvg(const Scene& scene, const Overlays& overlays, const std::string& title);

}  // namespace velmarin::inspect
