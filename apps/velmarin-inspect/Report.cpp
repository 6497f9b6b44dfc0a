#include "Report.h"

#include "Shown.h"
#include "SilentDrops.h"
#include "util/FixedTexts.h"

namespace velmarin::inspect {
namespace {

constexpr const char kArrow[] = " \xE2\x86\x92 ";

std::string At(const Point& p) { return "(" + ShownNumber(p.x) + ", " + ShownNumber(p.y) + ")"; }

std::string Described(const BlockReferenceFact& reference) {
    std::string text = Quoted(reference.blockName) + " at " + At(reference.position);
    for (std::size_t i = 0; i < reference.attributes.size(); ++i) {
        text += (i == 0 ? ", attributes " : ", ") + Quoted(reference.attributes[i].first) + " = " +
                Quoted(reference.attributes[i].second);
    }
    return text;
}

// Why no template is read, or which one is.
std::string TemplateLine(const Installation& in) {
    const TitleBlockTemplate& tb = in.titleBlock;
    const TitleTemplateListing& listing = tb.listing;
    if (!in.appPathFound) return "none: the registry value AppPath is missing";
    if (!in.exchangeExists) return "none: " + ShownPath(in.exchangePath) + " does not exist";
    if (!tb.named) return "none: vord.ini has no BPT_NAME in [BPT]";
    if (!listing.exists) return ShownPath(tb.path) + ", which does not exist";
    std::string text = ShownPath(tb.path) + ", BLOCKCOUNT=" + std::to_string(listing.count);
    for (const TitleTemplateEntry& entry : listing.entries) {
        text += (entry.number == 1 ? ": " : ", ") + std::string("BLOCK") +
                std::to_string(entry.number) + "=" + Quoted(entry.blockName);
    }
    text += listing.textMode ? "; mode: title texts in the batch run, attributes when saving"
                             : "; mode: attributes";
    return text;
}

void TitleBlockSection(ReportWriter& out, const Installation& in, const Scene& scene,
                       const Readings& readings, Overlays& overlays) {
    out.section("Title block");
    out.line("Template: " + TemplateLine(in));
    out.line("Block references in model space: " +
             std::to_string(scene.modelSpaceReferences.size()));
    for (const BlockReferenceFact& reference : scene.modelSpaceReferences) {
        out.line(Described(reference), 1);
    }
    if (!scene.layoutsVisible) {
        out.line(
            "Block references in layouts: none that the host shows. The plug-in reads "
            "model space only, so a title block kept in a layout gives no property.");
    } else {
        out.line("Block references in layouts: " + std::to_string(scene.layoutReferences.size()) +
                 " (the plug-in reads model space only: these give no property)");
        for (const auto& [layout, reference] : scene.layoutReferences) {
            out.line(Shown(layout) + ": " + Described(reference), 1);
        }
    }
    if (readings.titleBlock) {
        WriteTitleBlockReading(out, *readings.titleBlock);
        AddTitleBlockOverlay(overlays, *readings.titleBlock);
    } else {
        out.line("No template to read the title block with: no property is read.");
        overlays.notes.push_back("No title-block template: no property is read.");
    }
}

void PartsListSection(ReportWriter& out, const Installation& in, const Scene& scene,
                      const Readings& readings, Overlays& overlays) {
    out.section("Parts list");
    std::string titles;
    for (const ColumnTitle& column : in.columnTitles) {
        if (!column.title.empty()) titles += (titles.empty() ? "" : ", ") + Quoted(column.title);
    }
    out.line("Column-title template: " + ShownPath(in.columnTemplatePath) +
             (in.columnTemplateExists ? ", titles: " + (titles.empty() ? "none" : titles)
                                      : ", which does not exist"));
    out.line("Proxy entities in model space: " + std::to_string(scene.modelSpaceProxies.size()));
    for (const std::string& className : scene.modelSpaceProxies) out.line(Shown(className), 1);
    if (readings.partsList) {
        WritePartsListReading(out, *readings.partsList);
        AddPartsListOverlay(overlays, *readings.partsList);
    }
}

void PrintFlowSection(ReportWriter& out, const DrawingFacts& facts, const Scene& scene,
                      const Readings& readings, Overlays& overlays) {
    out.section("Print flow");
    out.line("Print flow file: " + ShownPath(facts.printFilePath) +
             (facts.printFileExists
                  ? " exists; a load stamps its texts and deletes it (left as it is here)"
                  : " does not exist; a load stamps nothing"));
    if (readings.printFlow) {
        WritePrintFlowReading(out, *readings.printFlow, scene.extents);
        AddPrintFlowOverlay(overlays, *readings.printFlow);
    }
}

void WriteAttribute(ReportWriter& out, const TitleBlockReading::Attribute& attribute) {
    const std::string what = Quoted(attribute.tag) + " = " + Quoted(attribute.value);
    if (!attribute.property.empty()) {
        out.line("taken: " + what + kArrow + "property " + Quoted(attribute.property), 2);
    } else {
        out.line("skipped: " + what + ": BLOCK" + std::to_string(attribute.entry) +
                     " names no property for the tag",
                 2);
    }
}

}  // namespace

void ReportWriter::section(const std::string& title) {
    if (!first_) out_ << '\n';
    first_ = false;
    out_ << "== " << title << " ==\n";
}

void ReportWriter::line(const std::string& utf8, int indent) {
    out_ << std::string(2 * static_cast<std::size_t>(indent), ' ') << utf8 << '\n';
}

void WriteReport(ReportWriter& out, const Installation& installation, const Scene& scene,
                 const DrawingFacts& facts, const Readings& readings, Overlays& overlays) {
    out.section("Drawing");
    out.line(facts.label + ": " + std::to_string(scene.entityCount) + " entities in model space");
    if (scene.entityCount == 0) overlays.notes.push_back("Model space is empty: nothing to read.");
    TitleBlockSection(out, installation, scene, readings, overlays);
    PartsListSection(out, installation, scene, readings, overlays);
    PrintFlowSection(out, facts, scene, readings, overlays);
}

void WriteTitleBlockReading(ReportWriter& out, const TitleBlockReading& reading) {
    out.line("Title-block references read (model space): " +
             std::to_string(reading.references.size()));
    for (const TitleBlockReading::Reference& reference : reading.references) {
        const std::string entry = "BLOCK" + std::to_string(reference.entry);
        std::string verdict;
        switch (reference.match) {
            case TitleBlockReading::Match::Entry:
                verdict = "matches " + entry;
                break;
            case TitleBlockReading::Match::OnlyCaseDiffers:
                verdict = "no match: only its letter case differs from " + entry +
                          " (the names are compared exactly)";
                break;
            case TitleBlockReading::Match::NameDiffers:
                verdict = "no match: no entry's BLOCK_NAME names it";
                break;
        }
        out.line(Quoted(reference.blockName) + " at " + At(reference.position) + ": " + verdict, 1);
        const std::size_t index = static_cast<std::size_t>(&reference - reading.references.data());
        for (const TitleBlockReading::Attribute& attribute : reading.attributes) {
            if (attribute.reference == index) WriteAttribute(out, attribute);
        }
    }
    if (reading.textMode) {
        out.line("Title texts read by the batch run (text mode): " +
                 std::to_string(reading.texts.size()));
        for (const TitleBlockReading::TitleText& text : reading.texts) {
            out.line(Quoted(text.text) + " at " + At(text.at) + ": label " + Quoted(text.label) +
                         kArrow + "property " + Quoted(text.property) + " = " + Quoted(text.value),
                     1);
        }
    }
    const auto properties = [&out](const std::string& title, const auto& list, std::size_t read) {
        std::string merged;
        if (read != list.size()) {
            merged = " (of " + std::to_string(read) +
                     " read: a later value replaces an earlier one of the same name, letter case "
                     "aside)";
        }
        out.line(title + std::to_string(list.size()) + merged);
        for (const auto& [name, value] : list) out.line(Quoted(name) + " = " + Quoted(value), 1);
    };
    if (reading.textMode) {
        properties("Properties for the save command's tree file (attributes): ", reading.properties,
                   reading.propertiesRead);
        properties("Properties for the batch run's tree file (title texts): ",
                   reading.textProperties, reading.textPropertiesRead);
    } else {
        properties("Properties for the tree file: ", reading.properties, reading.propertiesRead);
    }
}

void AddTitleBlockOverlay(Overlays& overlays, const TitleBlockReading& reading) {
    for (const TitleBlockReading::Attribute& attribute : reading.attributes) {
        if (attribute.property.empty()) continue;
        overlays.titleValues.push_back(
            {attribute.at, Shown(attribute.property) + " = " + Shown(attribute.value)});
    }
    for (const TitleBlockReading::TitleText& text : reading.texts) {
        overlays.titleValues.push_back({text.at, Shown(text.property) + " = " + Shown(text.value)});
    }
    if (reading.properties.empty() && reading.textProperties.empty()) {
        overlays.notes.push_back("No title-block value recognised.");
    }
}

namespace {

// The table as the commands read it, or why there is none.
void WriteTable(ReportWriter& out, const PartsListReading& reading) {
    const std::string window = ShownNumber(reading.windowHalfSide);
    if (reading.missing != PartsListReading::Missing::NothingSelected) {
        out.line("Selected as the save command does, inside (-" + window + ", -" + window +
                 ") to (" + window + ", " + window + "): " + std::to_string(reading.selected) +
                 " entities");
    }
    switch (reading.missing) {
        case PartsListReading::Missing::NothingSelected:
            out.line("No table: nothing lies entirely inside the save command's window (-" +
                     window + ", -" + window + ") to (" + window + ", " + window + ").");
            return;
        case PartsListReading::Missing::NoProxy:
            out.line("No table: no proxy entity of the table's class was selected.");
            return;
        case PartsListReading::Missing::NoMultilineText:
            out.line("No table: no proxy entity holds a multiline text reading the name title.");
            return;
        case PartsListReading::Missing::NoTemplateTitle:
            out.line("No table: the column-title template gives no title for " +
                     Shown(texts::kPartNameTitleKey) + ".");
            return;
        case PartsListReading::Missing::Nothing:
            break;
    }
    const std::size_t columns = reading.gridX.size() > 0 ? reading.gridX.size() - 1 : 0;
    const std::size_t bands = reading.gridY.size() > 0 ? reading.gridY.size() - 1 : 0;
    out.line("Table in " + Shown(reading.proxyClass) + ": " + std::to_string(columns) +
             " columns, " + std::to_string(bands) + " bands");
    std::string xs;
    for (const double x : reading.gridX) xs += (xs.empty() ? "" : ", ") + ShownNumber(x);
    std::string ys;
    for (const double y : reading.gridY) ys += (ys.empty() ? "" : ", ") + ShownNumber(y);
    out.line("column lines x = " + xs, 1);
    out.line("band lines y = " + ys, 1);
    if (reading.columns.empty()) {
        out.line("Titles: no cell reads a title of the template, so no column has a kind");
    } else {
        out.line(std::string("Titles ") + (reading.titlesAlongRow ? "in band " : "in column ") +
                 std::to_string(reading.titleBand) + " (the lowest band is 1):");
    }
    for (const PartsListReading::Column& column : reading.columns) {
        out.line((reading.titlesAlongRow ? "column " : "band ") + std::to_string(column.index) +
                     ": " + Quoted(column.title) + kArrow + "kind " + std::to_string(column.kind) +
                     " (" + Shown(column.key) + ")",
                 1);
    }
    out.line(
        "Rows for the BOM detail file as savebom and save write it (a batch run leaves out "
        "the rows it links to a drawing of the batch): " +
        std::to_string(reading.rows.size()));
    for (const std::string& row : reading.rows) out.line(Quoted(row), 1);
    out.line("Texts outside every cell (on a grid line or outside the grid): " +
             std::to_string(reading.outsideTexts.size()));
    for (const PartsListReading::Stray& text : reading.outsideTexts) {
        out.line(Quoted(text.text) + " at " + At(text.at), 1);
    }
}

}  // namespace

void WritePartsListReading(ReportWriter& out, const PartsListReading& reading) {
    WriteTable(out, reading);
    const std::vector<std::string> drops = SilentDrops(reading);
    out.line("Left out without a word: " + std::to_string(drops.size()));
    for (const std::string& drop : drops) out.line(drop, 1);
}

void AddPartsListOverlay(Overlays& overlays, const PartsListReading& reading) {
    if (reading.missing != PartsListReading::Missing::Nothing) {
        overlays.notes.push_back("No parts list recognised.");
        return;
    }
    TableGrid grid;
    grid.xs = reading.gridX;
    grid.ys = reading.gridY;
    for (const PartsListReading::Cell& cell : reading.cells) {
        grid.cells.push_back({cell.column, cell.row, cell.kind});
    }
    for (const PartsListReading::Column& column : reading.columns) {
        if (column.kind < 1) continue;
        if (grid.kindNames.size() < static_cast<std::size_t>(column.kind)) {
            grid.kindNames.resize(column.kind);
        }
        grid.kindNames[column.kind - 1] = Shown(column.title);
    }
    overlays.tables.push_back(std::move(grid));
}

void WritePrintFlowReading(ReportWriter& out, const PrintFlowReading& reading, const Box& sheet) {
    if (!reading.problem.empty()) {
        out.line("Nothing is stamped: " + reading.problem + ".");
        return;
    }
    out.line("Frame corner: " + At(reading.corner) +
             (reading.cornerFromOrigin
                  ? " (nothing on the frame layer " + Shown(texts::kFrameLayer) + ": the origin)"
                  : ", the lower right of:"));
    for (const PrintFlowReading::Source& source : reading.cornerFrom) {
        out.line(Shown(source.className) +
                     (source.extents.empty()
                          ? std::string()
                          : " from " + At(source.extents.min) + " to " + At(source.extents.max)),
                 1);
    }
    out.line("Texts a load would stamp on layer " + std::string(texts::kPrintInfoLayer) + ": " +
             std::to_string(reading.stamps.size()));
    for (const PrintFlowReading::Stamp& stamp : reading.stamps) {
        const bool offSheet =
            !sheet.empty() && (stamp.at.x < sheet.min.x || stamp.at.x > sheet.max.x ||
                               stamp.at.y < sheet.min.y || stamp.at.y > sheet.max.y);
        out.line(Quoted(stamp.text) + " at " + At(stamp.at) + ", height " +
                     ShownNumber(stamp.height) + ", width factor " +
                     (stamp.widthFactor ? ShownNumber(*stamp.widthFactor)
                                        : std::string("of the text style")) +
                     (offSheet ? "; lands outside the drawing's extents" : ""),
                 1);
    }
}

void AddPrintFlowOverlay(Overlays& overlays, const PrintFlowReading& reading) {
    if (!reading.problem.empty()) {
        overlays.notes.push_back("Print flow file: nothing would be stamped.");
        return;
    }
    overlays.frameCorner = reading.corner;
    for (const PrintFlowReading::Stamp& stamp : reading.stamps) {
        overlays.printTexts.push_back(
            {stamp.at, Shown(stamp.text), stamp.height, stamp.widthFactor.value_or(1.0)});
    }
}

}  // namespace velmarin::inspect
