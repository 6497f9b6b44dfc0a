#include "PluginReadings.h"

#include <array>

#include "bom/BomFileFormat.h"
#include "bom/BomTable.h"
#include "bom/ColumnTitles.h"
#include "bom/TableSearch.h"
#include "drawing/ModelSpace.h"
#include "drawing/TitleProperties.h"
#include "platform/Platform.h"
#include "platform/profile/ProfileText.h"
#include "print/FrameCorner.h"
#include "print/PrintFlowFile.h"
#include "print/PrintTextRules.h"
#include "tree/AssemblyNode.h"
#include "tree/TreeFile.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin::inspect {
namespace {

Point Flat(const host::Point3& p) { return {p.x, p.y}; }

using Properties = std::vector<std::pair<std::string, std::string>>;

// The properties as the tree file holds them: written by the tree file's own writer (a later
// value replaces an earlier one of the same name, letter case aside; line breaks become blanks)
// and read back from its bytes by the profile functions' rules. A value is the line's text after
// its first '=', as the file holds it.
Properties AsTreeFileGetsThem(const std::vector<PropertyRecord>& records) {
    TreeFile file(std::string{});  // never saved
    AssemblyNode node;
    node.properties = records;
    const std::string section = TreeFile::NodeSection(0);
    node.WriteProperties(file, section);

    namespace profile = platform::profile;
    const profile::ProfileText text(file.Bytes());
    const std::string prefix = TreeFile::ValueKey("");
    Properties pairs;
    const std::size_t found = text.findSection(section);
    if (found == profile::kNone) return pairs;
    const profile::ProfileText::Section& lines = text.sections()[found];
    for (std::size_t i = lines.header + 1; i < lines.lineEnd; ++i) {
        const profile::Line& line = text.lines()[i];
        const std::string_view name = text.name(line);
        if (line.kind != profile::LineKind::Key || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        pairs.emplace_back(std::string(name.substr(prefix.size())),
                           text.bytes().substr(line.equals + 1, line.end - line.equals - 1));
    }
    return pairs;
}

// Records each decision of the title-block readers.
class TitleRecorder : public TitleReadObserver {
  public:
    TitleRecorder(const TitleTemplateListing& listing, TitleBlockReading& reading)
        : listing_(listing), reading_(reading) {}

    void blockReference(const std::string& blockName, const std::string& section,
                        const host::Point3& position) override {
        TitleBlockReading::Reference reference;
        reference.blockName = blockName;
        reference.position = Flat(position);
        const std::size_t prefix = sizeof(title_template::kEntrySectionPrefix) - 1;
        if (!section.empty()) {
            reference.match = TitleBlockReading::Match::Entry;
            reference.entry = text::LeadingInt(section.substr(prefix));
        } else {
            for (const TitleTemplateEntry& entry : listing_.entries) {
                if (entry.present && !entry.blockName.empty() &&
                    text::EqualsNoCase(entry.blockName, blockName)) {
                    reference.match = TitleBlockReading::Match::OnlyCaseDiffers;
                    reference.entry = entry.number;
                    break;
                }
            }
        }
        reading_.references.push_back(std::move(reference));
    }

    void attribute(const std::string& tag, const std::string& value, const std::string& property,
                   const host::Point3& position) override {
        // Attributes are reported right after their reference.
        if (reading_.references.empty()) return;
        reading_.attributes.push_back({tag, value, property, Flat(position),
                                       reading_.references.back().entry,
                                       reading_.references.size() - 1});
    }

    void titleText(const std::string& contents, const std::string& label, const std::string& value,
                   const std::string& property, const host::Point3& position) override {
        reading_.texts.push_back({contents, label, value, property, Flat(position)});
    }

  private:
    const TitleTemplateListing& listing_;
    TitleBlockReading& reading_;
};

PrintFlowReading::Source Describe(host::Database& db, host::ObjectId id) {
    PrintFlowReading::Source source;
    host::Opened<host::Entity> entity(host::openAs<host::Entity>(db, id, host::OpenMode::ForRead));
    if (!entity) return source;
    source.className = entity->className();
    host::Extents extents;
    if (entity->getGeomExtents(extents) == host::eOk) {
        source.extents.add(Flat(extents.minPoint));
        source.extents.add(Flat(extents.maxPoint));
    }
    return source;
}

}  // namespace

TitleBlockReading ReadTitleBlockReading(const Installation& installation) {
    TitleBlockReading reading;
    const TitleTemplateListing& listing = installation.titleBlock.listing;
    reading.textMode = listing.textMode;
    TitleRecorder recorder(listing, reading);
    const std::string& path = installation.titleBlock.path;
    // The save command reads attributes; the batch run reads title texts in text mode and
    // attributes otherwise, with the same reader the save command uses.
    const std::vector<PropertyRecord> attributes = ReadTitleBlock(path, &recorder);
    reading.propertiesRead = attributes.size();
    reading.properties = AsTreeFileGetsThem(attributes);
    if (listing.textMode) {
        const std::vector<PropertyRecord> texts = ReadDrawingInfo(path, &recorder);
        reading.textPropertiesRead = texts.size();
        reading.textProperties = AsTreeFileGetsThem(texts);
    }
    return reading;
}

namespace {

// The table savebom finds when the user selects the whole model space, when it reaches outside
// the save command's window (`inWindow`: the table found inside it, if any).
std::optional<PartsListReading::Placed> TableOutsideWindow(const ColumnTitles& titles,
                                                           host::ObjectId inWindow) {
    host::SelectionSet everything;
    if (host::Opened<host::BlockTableRecord> space = OpenModelSpace()) {
        everything.names = space->entityIds();
    }
    const bom::FoundTable found = bom::FindTable(everything, titles);
    host::Database* db = host::current().workingDatabase();
    if (!found.found() || found.tableId == inWindow || db == nullptr) return std::nullopt;
    return Describe(*db, found.tableId);
}

}  // namespace

PartsListReading ReadPartsListReading(const std::string& bomPath) {
    PartsListReading reading;
    reading.windowHalfSide = bom::kBomWindowHalfSide;
    const ColumnTitles titles = bom::ReadColumnTitles();
    host::SelectionSet selection;
    if (!bom::SelectTableWindow(selection)) {
        reading.missing = PartsListReading::Missing::NothingSelected;
        reading.tableOutsideWindow = TableOutsideWindow(titles, host::kNullId);
        return reading;
    }
    reading.selected = static_cast<int>(selection.names.size());

    const bom::FoundTable found = bom::FindTable(selection, titles);
    reading.tableOutsideWindow =
        TableOutsideWindow(titles, found.found() ? found.tableId : host::kNullId);
    switch (found.outcome) {
        case bom::TableSearch::NotRun:
        case bom::TableSearch::NoCandidate:
            reading.missing = PartsListReading::Missing::NoProxy;
            break;
        case bom::TableSearch::NoTitles:
            reading.missing = PartsListReading::Missing::NoTemplateTitle;
            break;
        case bom::TableSearch::NoTitleText:
            reading.missing = PartsListReading::Missing::NoMultilineText;
            break;
        case bom::TableSearch::Found:
            reading.missing = PartsListReading::Missing::Nothing;
            break;
    }
    if (reading.missing != PartsListReading::Missing::Nothing) return reading;

    if (host::Database* db = host::current().workingDatabase()) {
        host::Opened<host::Entity> table(
            host::openAs<host::Entity>(*db, found.tableId, host::OpenMode::ForRead));
        if (table) reading.proxyClass = table->className();
    }
    const bom::BomTable table = bom::AnalyseTable(found.geometry, titles, bomPath);
    reading.gridX = table.gridX;
    reading.gridY = table.gridY;
    for (const TextInfo& cell : table.cells) {
        reading.cells.push_back({cell.column, cell.row, cell.kind, cell.text});
    }
    // The header cells, in the order the analysis met them; the first two tell the orientation.
    const std::vector<int>& headers = table.headers;
    if (!headers.empty()) {
        const TextInfo& first = table.cells[static_cast<std::size_t>(headers[0])];
        reading.titlesAlongRow = headers.size() < 2 ||
                                 table.cells[static_cast<std::size_t>(headers[1])].row == first.row;
        reading.titleBand = reading.titlesAlongRow ? first.row : first.column;
    }
    for (const int header : headers) {
        const TextInfo& cell = table.cells[static_cast<std::size_t>(header)];
        const int kind = cell.kind;
        reading.columns.push_back(
            {reading.titlesAlongRow ? cell.column : cell.row, kind, cell.text,
             kind >= 1 && kind <= kColumnKinds
                 ? kColumnKindTable[static_cast<std::size_t>(kind - 1)].tableKey
                 : ""});
    }
    // The first row holds the titles; the detail file gets the rows after it.
    const std::vector<BomInfo>& rows = table.rows;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        std::array<const std::string*, kColumnKinds> values{};
        for (int slot = 0; slot < kColumnKinds; ++slot) {
            values[static_cast<std::size_t>(slot)] = &rows[r].slot(slot);
        }
        std::string line;
        bom::AppendBomLine(line, values);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        reading.rows.push_back(std::move(line));
    }
    for (const bom::PlacedText& stray : table.strayTexts) {
        reading.outsideTexts.push_back({stray.text, Flat(stray.corner)});
    }
    return reading;
}

std::optional<PrintFlowReading> ReadPrintFlowReading(const std::string& printFilePath) {
    if (!util::FileExists(printFilePath)) return std::nullopt;
    PrintFlowReading reading;
    host::Point3 corner;
    std::vector<host::ObjectId> sources;
    if (!print::FindFrameCorner(corner, &sources)) {
        reading.problem =
            "the drawing's tables cannot be read, so there is no frame corner: a "
            "load stamps nothing and keeps the file";
        return reading;
    }
    reading.corner = Flat(corner);
    reading.cornerFromOrigin = sources.empty();
    if (host::Database* db = host::current().workingDatabase()) {
        for (const host::ObjectId id : sources) reading.cornerFrom.push_back(Describe(*db, id));
    }
    std::string contents;
    if (!platform::current().readFile(printFilePath, contents)) {
        reading.problem = "the file cannot be read: a load shows a message and keeps the file";
        return reading;
    }
    for (const print::PrintFlowEntry& entry : print::ParsePrintFlowFile(contents, corner)) {
        PrintFlowReading::Stamp stamp;
        stamp.text = entry.text;
        stamp.at = Flat(entry.position);
        stamp.height = print::PrintTextHeight(entry.height);
        stamp.widthFactor =
            print::PrintTextWidthFactor(entry.text.size(), entry.fitLength, entry.widthMode);
        reading.stamps.push_back(std::move(stamp));
    }
    return reading;
}

}  // namespace velmarin::inspect
