#include <string>
#include <vector>

#include "bom/BomTable.h"
#include "bom/BomWorkspace.h"
#include "host/Host.h"
#include "util/FixedTexts.h"
#include "util/IniValues.h"
#include "util/Text.h"

namespace velmarin {
namespace {

constexpr const char kTitleSection[] = "TABLE";
constexpr int kPartNameKind = 6;  // the title that marks a table: 名称

// The parts of an exploded entity; each is a new object and is closed when the list goes.
class ExplodedParts {
  public:
    explicit ExplodedParts(const host::Entity& entity) {
        if (entity.explode(parts_) != host::eOk) closeAll();
    }
    ~ExplodedParts() { closeAll(); }
    ExplodedParts(const ExplodedParts&) = delete;
    ExplodedParts& operator=(const ExplodedParts&) = delete;

    const std::vector<host::Entity*>& parts() const { return parts_; }

  private:
    void closeAll() {
        for (host::Entity* part : parts_) {
            if (part != nullptr) part->close();
        }
        parts_.clear();
    }

    std::vector<host::Entity*> parts_;
};

// The entity at `index` of the selection, opened for read: the analysis changes nothing, and a
// write open would be refused for an entity someone else holds open.
host::Opened<host::Entity> OpenSelected(host::Database& db, const host::SelectionSet& selection,
                                        long index) {
    host::ObjectId name = host::kNullId;
    if (host::ssName(selection, index, name) != host::RTNORM) return {};
    host::ObjectId id = host::kNullId;
    if (host::getObjectId(id, name) != host::eOk) return {};
    return host::Opened<host::Entity>(host::openAs<host::Entity>(db, id, host::OpenMode::ForRead));
}

bool IsTableCandidate(const host::Entity& entity) {
    return entity.className().find("AcDbZombieEntity") != std::string::npos &&
           dynamic_cast<const host::ProxyEntity*>(&entity) != nullptr;
}

const host::MText* AsMText(const host::Entity* part) {
    if (part == nullptr || part->className() != "AcDbMText") return nullptr;
    return dynamic_cast<const host::MText*>(part);
}

const host::Polyline* AsPolyline(const host::Entity* part) {
    if (part == nullptr || part->className() != "AcDbPolyline") return nullptr;
    return dynamic_cast<const host::Polyline*>(part);
}

bool HasTitleText(const std::vector<host::Entity*>& parts, const std::string& title) {
    for (const host::Entity* part : parts) {
        const host::MText* mtext = AsMText(part);
        if (mtext != nullptr && BomWorkspace::StripMTextFormat(mtext->contents()) == title) return true;
    }
    return false;
}

// The grid from the polylines' points, then a cell for each multiline text, both in part order.
// Single-line texts and every other kind of part are neither grid nor cells.
void ReadTable(BomWorkspace& bom, const std::vector<host::Entity*>& parts) {
    std::vector<host::Point3> points;
    for (const host::Entity* part : parts) {
        if (const host::Polyline* polyline = AsPolyline(part)) {
            std::vector<host::Point3> grips;
            if (polyline->getGripPoints(grips) != host::eOk) continue;
            points.insert(points.end(), grips.begin(), grips.end());
        }
    }
    bom.SetGrid(points);
    if (bom.gridX().empty() || bom.gridY().empty()) return;
    for (const host::Entity* part : parts) {
        const host::MText* mtext = AsMText(part);
        host::Extents box;
        if (mtext == nullptr || mtext->getGeomExtents(box) != host::eOk) continue;
        bom.AddCell(BomWorkspace::StripMTextFormat(mtext->contents()), box.minPoint);
    }
}

}  // namespace

void BomWorkspace::ResetBom() {
    texts_.clear();
    for (auto& list : columnValues_) list.clear();
    gridX_.clear();
    gridY_.clear();
    headerTexts_.clear();
    columnTitles_.clear();
    strayTexts_.clear();
    search_ = TableSearch::NotRun;
    tableId_ = host::kNullId;
    // One receiving string for every read: without the template file each read leaves it as
    // it was, so every title stays empty.
    std::string title;
    for (const ColumnKind& kind : kColumnKindTable) {
        util::ReadIniString(kTitleSection, kind.tableKey, title, texts::kColumnTitleTemplate);
        columnTitles_.push_back(title);
    }
}

int BomWorkspace::ExtractBomTable(const host::SelectionSet& selection, const std::string& bomPath) {
    ResetBom();
    if (!host::installed()) return 0;
    host::Database* db = host::current().workingDatabase();
    if (db == nullptr) return 0;
    long count = 0;
    if (host::ssLength(selection, count) != host::RTNORM) return 0;

    // An empty title (a key missing from the template, or no template) would match every text
    // without contents; it identifies no table.
    const std::string title = columnTitles_[kPartNameKind - 1];
    search_ = TableSearch::NoTitles;
    if (title.empty()) return 0;
    search_ = TableSearch::NoCandidate;

    // Only the first table of the selection is analysed, so the search ends there, and the
    // parts that identified it give its grid and cells: exploding it again would give the same.
    bool found = false;
    for (long j = 0; j < count && !found; ++j) {
        host::Opened<host::Entity> entity = OpenSelected(*db, selection, j);
        if (!entity || !IsTableCandidate(*entity)) continue;
        search_ = TableSearch::NoTitleText;
        ExplodedParts exploded(*entity);
        if (!HasTitleText(exploded.parts(), title)) continue;
        ReadTable(*this, exploded.parts());
        search_ = TableSearch::Found;
        tableId_ = entity->objectId();
        found = true;
    }
    if (!found) return 0;
    return FinishTable(bomPath);
}

void BomWorkspace::AddText(const std::string& text, int row, int column) {
    TextInfo cell;
    cell.text = text;
    cell.column = column;
    cell.row = row;
    texts_.push_back(std::move(cell));
}

std::string BomWorkspace::StripMTextFormat(const std::string& contents) {
    // The format code is the last backslash and the one byte after it; contents without a
    // backslash carry no code and stay whole.
    const std::size_t backslash = text::FindLast(contents, '\\');
    if (backslash == text::npos) return contents;
    const std::size_t start = backslash + 2;
    return start >= contents.size() ? std::string() : contents.substr(start);
}

}  // namespace velmarin
