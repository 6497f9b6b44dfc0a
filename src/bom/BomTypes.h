#pragma once
// The records of the BOM analysis: one table cell (TextInfo) and one BOM row (BomInfo), and the
// table of column kinds that ties a title of the column-title template to a BomInfo field.

#include <array>
#include <string>
#include <vector>

namespace velmarin {

inline constexpr int kColumnKinds = 18;

// One text cell of a BOM table.
struct TextInfo {
    std::string text;  // after bom::StripMTextFormat
    int column = 0;    // 1-based x interval of gridX
    int row = 0;       // 1-based y interval of gridY
    int kind = 0;      // column kind 1..18, 0 for none
};

// One BOM row: the drawing, the BOM detail file, and the value of each column slot.
struct BomInfo {
    std::string drawingName;
    std::string bomPath;
    std::string id;                 // slot 0
    std::string itemNo;             // slot 1
    std::string material;           // slot 2
    std::string assemblyDrawingNo;  // slot 3
    std::string partDrawingNo;      // slot 4
    std::string partName;           // slot 5
    std::string specification;      // slot 6
    std::string quantity;           // slot 7
    std::string unitWeight;         // slot 8
    std::string remark;             // slot 9
    std::string description;        // slot 10
    std::string materialEn;         // slot 11
    std::string pst;                // slot 12
    std::string unit;               // slot 13
    std::string workNo;             // slot 14
    std::string prebuy;             // slot 15
    std::string materialCode;       // slot 16
    std::string tagNo;              // slot 17

    // The field of a column slot 0..17.
    std::string& slot(int index);
    const std::string& slot(int index) const;
};

// A column kind: its key in section "TABLE" of the column-title template and its slot.
struct ColumnKind {
    const char* tableKey;
    int slot;
};

// Index kind - 1.
extern const std::array<ColumnKind, kColumnKinds> kColumnKindTable;
// The kind of the part-name column (slot 5), by which rows name drawings.
inline constexpr int kPartNameKind = 6;

// The titles of the column-title template, by kind - 1; an empty title names no column.
using ColumnTitles = std::vector<std::string>;

}  // namespace velmarin
