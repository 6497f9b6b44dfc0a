#include "bom/TableSearch.h"

#include <cmath>
#include <string>
#include <vector>

#include "bom/CellText.h"
#include "util/FixedTexts.h"

namespace velmarin::bom {
namespace {

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
    return entity.className().find(texts::kTableProxyClass) != std::string::npos &&
           dynamic_cast<const host::ProxyEntity*>(&entity) != nullptr;
}

const host::MText* AsMText(const host::Entity* part) {
    if (part == nullptr || part->className() != texts::kMTextClass) return nullptr;
    return dynamic_cast<const host::MText*>(part);
}

const host::Polyline* AsPolyline(const host::Entity* part) {
    if (part == nullptr || part->className() != texts::kPolylineClass) return nullptr;
    return dynamic_cast<const host::Polyline*>(part);
}

bool HasTitleText(const std::vector<host::Entity*>& parts, const std::string& title) {
    for (const host::Entity* part : parts) {
        const host::MText* mtext = AsMText(part);
        if (mtext != nullptr && StripMTextFormat(mtext->contents()) == title) return true;
    }
    return false;
}

// The polylines' points, then each multiline text, both in part order. Single-line texts and
// every other kind of part are neither grid nor cells. Without a line in either direction no
// text can be a cell, and none is read.
TableGeometry ReadGeometry(const std::vector<host::Entity*>& parts) {
    TableGeometry geometry;
    bool anyX = false;
    bool anyY = false;
    for (const host::Entity* part : parts) {
        if (const host::Polyline* polyline = AsPolyline(part)) {
            std::vector<host::Point3> grips;
            if (polyline->getGripPoints(grips) != host::eOk) continue;
            for (const host::Point3& p : grips) {
                anyX = anyX || !std::isnan(p.x);
                anyY = anyY || !std::isnan(p.y);
            }
            geometry.gridPoints.insert(geometry.gridPoints.end(), grips.begin(), grips.end());
        }
    }
    if (!anyX || !anyY) return geometry;
    for (const host::Entity* part : parts) {
        const host::MText* mtext = AsMText(part);
        host::Extents box;
        if (mtext == nullptr || mtext->getGeomExtents(box) != host::eOk) continue;
        geometry.texts.push_back({StripMTextFormat(mtext->contents()), box.minPoint});
    }
    return geometry;
}

}  // namespace

bool SelectTableWindow(host::SelectionSet& selection) {
    const host::Point3 lowerLeft{-kBomWindowHalfSide, -kBomWindowHalfSide, 0.0};
    const host::Point3 upperRight{kBomWindowHalfSide, kBomWindowHalfSide, 0.0};
    return host::current().ssget(texts::kWindowSelection, &lowerLeft, &upperRight, selection) ==
           host::RTNORM;
}

FoundTable FindTable(const host::SelectionSet& selection, const ColumnTitles& titles) {
    FoundTable result;
    if (!host::installed()) return result;
    host::Database* db = host::current().workingDatabase();
    if (db == nullptr) return result;
    long count = 0;
    if (host::ssLength(selection, count) != host::RTNORM) return result;

    // An empty title (a key missing from the template, or no template) would match every text
    // without contents; it identifies no table.
    const std::size_t titleIndex = kPartNameKind - 1;
    result.outcome = TableSearch::NoTitles;
    if (titles.size() <= titleIndex || titles[titleIndex].empty()) return result;
    const std::string& title = titles[titleIndex];
    result.outcome = TableSearch::NoCandidate;

    // Only the first table of the selection is analysed, so the search ends there, and the
    // parts that identified it give its geometry: exploding it again would give the same.
    for (long j = 0; j < count; ++j) {
        host::Opened<host::Entity> entity = OpenSelected(*db, selection, j);
        if (!entity || !IsTableCandidate(*entity)) continue;
        result.outcome = TableSearch::NoTitleText;
        ExplodedParts exploded(*entity);
        if (!HasTitleText(exploded.parts(), title)) continue;
        result.outcome = TableSearch::Found;
        result.tableId = entity->objectId();
        result.geometry = ReadGeometry(exploded.parts());
        break;
    }
    return result;
}

}  // namespace velmarin::bom
