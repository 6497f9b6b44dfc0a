#pragma once
// Finding the parts list among selected entities: a proxy entity whose exploded parts hold a
// multiline text with the 名称 title. What it gives is the table's geometry, read once; the
// analysis (bom/BomTable.h) needs no host.

#include "bom/BomTable.h"
#include "bom/BomTypes.h"
#include "host/Host.h"

namespace velmarin::bom {

// Save and the batch run look for the table in this square around the origin, where title
// frames are drawn.
inline constexpr double kBomWindowHalfSide = 5000.0;

// Selects what lies entirely inside that square in the working drawing; true when a selection
// was made.
bool SelectTableWindow(host::SelectionSet& selection);

// How a table search ended.
enum class TableSearch {
    NotRun,       // no host, no working drawing or an unreadable selection
    NoTitles,     // the column-title template gives no 名称 title
    NoCandidate,  // no proxy entity of the table's class among the selected entities
    NoTitleText,  // proxies, but none holds a multiline text with the 名称 title
    Found,
};

struct FoundTable {
    TableSearch outcome = TableSearch::NotRun;
    host::ObjectId tableId = host::kNullId;  // the proxy that holds the table, when found
    TableGeometry geometry;                  // its polylines' points and multiline texts

    bool found() const { return outcome == TableSearch::Found; }
};

// The first table of the selection. Its parts are read for reading only and closed again.
FoundTable FindTable(const host::SelectionSet& selection, const ColumnTitles& titles);

}  // namespace velmarin::bom
