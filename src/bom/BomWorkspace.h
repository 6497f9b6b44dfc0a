#pragma once
// The BOM working state: the cells, grid and column titles of the table being analysed, and the
// BOM rows gathered so far (one drawing for savebom and save, every drawing of a batch run). It
// recognises a table among selected entities, analyses its layout and writes BOM detail files.

#include <array>
#include <string>
#include <vector>

#include "bom/BomTable.h"
#include "bom/BomTypes.h"
#include "host/Host.h"

namespace velmarin {

// Save and the batch run look for the table in this square around the origin, where title
// frames are drawn.
inline constexpr double kBomWindowHalfSide = 5000.0;

// Selects what lies entirely inside that square in the working drawing; RTNORM when a selection
// was made.
int SelectTableWindow(host::SelectionSet& selection);

// How the last table search ended.
enum class TableSearch {
    NotRun,       // no search since the last reset
    NoTitles,     // the column-title template gives no 名称 title
    NoCandidate,  // no proxy entity of the table's class among the selected entities
    NoTitleText,  // proxies, but none holds a multiline text with the 名称 title
    Found,
};

class BomWorkspace {
public:
    using ColumnValues = std::array<std::vector<std::string>, kColumnKinds>;

    // --- Rows (bom/BomWorkspace.cpp)
    // Forgets the rows and the drawings' blocks, as a new extraction or batch run starts.
    void ClearRows();
    // Marks where the rows of the next drawing of a batch begin.
    void BeginDrawing();

    // --- Recognition (bom/BomRecognition.cpp)
    // Clears the table state and reads the column titles from the column-title template.
    void ResetBom();
    // Resets, finds the first table among the selected entities (a proxy whose exploded parts
    // hold the 名称 title) and analyses it. The number of rows, 0 when no table was found.
    int ExtractBomTable(const host::SelectionSet& selection, const std::string& bomPath);
    void AddText(const std::string& text, int row, int column);
    // A multiline text's contents without its format code (the last backslash and the byte after).
    static std::string StripMTextFormat(const std::string& contents);

    // --- Table analysis (bom/BomTable.cpp, bom/BomLayout.cpp)
    // Grid lines from the polylines' points.
    void SetGrid(const std::vector<host::Point3>& points);
    // The cell of a text whose lower-left corner is `corner`: none on a grid line, outside the
    // grid or without a grid.
    void AddCell(const std::string& text, const host::Point3& corner);
    // The layout analysis when cells exist; returns the number of rows.
    int FinishTable(const std::string& bomPath);
    // SetGrid, AddCell for every text, FinishTable.
    int AnalyseTable(const bom::TableGeometry& table, const std::string& bomPath);
    void AssignColumnKinds();
    void DistributeTexts();
    static void PutCell(std::vector<std::string>& list, const std::string& text, int row);
    void BuildBomRows(const std::string& bomPath);

    // --- BOM detail file (bom/BomFile.cpp)
    // The analysed table's rows; the completion message follows a file that has rows.
    void WriteBomFile(const std::string& path);
    // `rowCount` rows from `firstRow` (the title band, not written) of the gathered rows.
    void WriteBomFileRows(int rowCount, int firstRow, const std::string& path);

    // --- State
    std::vector<BomInfo>& rows() { return rows_; }
    const std::vector<BomInfo>& rows() const { return rows_; }
    std::vector<TextInfo>& texts() { return texts_; }
    const std::vector<TextInfo>& texts() const { return texts_; }
    ColumnValues& columnValues() { return columnValues_; }
    const ColumnValues& columnValues() const { return columnValues_; }
    std::vector<double>& gridX() { return gridX_; }
    const std::vector<double>& gridX() const { return gridX_; }
    std::vector<double>& gridY() { return gridY_; }
    const std::vector<double>& gridY() const { return gridY_; }
    std::vector<std::string>& columnTitles() { return columnTitles_; }  // by kind - 1
    const std::vector<std::string>& columnTitles() const { return columnTitles_; }
    const std::vector<int>& headerTexts() const { return headerTexts_; }
    // The first row of each drawing of a batch, in rows().
    std::vector<int>& drawingStarts() { return drawingStarts_; }
    const std::vector<int>& drawingStarts() const { return drawingStarts_; }

    TableSearch search() const { return search_; }
    // The proxy entity that held the table found last.
    host::ObjectId tableId() const { return tableId_; }
    // The table's texts that fell on a grid line or outside the grid, since the last reset.
    const std::vector<bom::PlacedText>& strayTexts() const { return strayTexts_; }

private:
    std::vector<BomInfo> rows_;
    std::vector<TextInfo> texts_;
    ColumnValues columnValues_;  // by slot
    std::vector<double> gridX_;
    std::vector<double> gridY_;
    std::vector<std::string> columnTitles_;
    std::vector<int> headerTexts_;
    std::vector<int> drawingStarts_;
    TableSearch search_ = TableSearch::NotRun;
    host::ObjectId tableId_ = host::kNullId;
    std::vector<bom::PlacedText> strayTexts_;
};

}  // namespace velmarin
