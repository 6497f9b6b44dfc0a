#include "Report.h"

#include <cstdio>

#include "ProfileReading.h"
#include "util/FixedTexts.h"

namespace velmarin::inspect {
namespace {

constexpr const char kArrow[] = " \xE2\x86\x92 ";

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string At(const Point& p) { return "(" + Number(p.x) + ", " + Number(p.y) + ")"; }

std::string Described(const BlockReferenceFact& reference) {
    std::string text = "\"" + Shown(reference.blockName) + "\" at " + At(reference.position);
    for (std::size_t i = 0; i < reference.attributes.size(); ++i) {
        text += (i == 0 ? ", attributes " : ", ") + Shown(reference.attributes[i].first) + "=" +
                Shown(reference.attributes[i].second);
    }
    return text;
}

// Why no template is read, or which one is.
std::string TemplateLine(const Installation& in) {
    const TitleBlockTemplate& tb = in.titleBlock;
    if (!in.appPathFound) return "none: the registry value AppPath is missing";
    if (!in.exchangeExists) return "none: " + Shown(in.exchangePath) + " does not exist";
    if (tb.name.empty()) return "none: vord.ini has no BPT_NAME in [BPT]";
    if (!tb.exists) return Shown(tb.path) + ", which does not exist";
    std::string text = Shown(tb.path) + ", BLOCKCOUNT=" + std::to_string(tb.count);
    for (const TemplateEntry& entry : tb.entries) {
        text += (entry.number == 1 ? ": " : ", ") + std::string("BLOCK") +
                std::to_string(entry.number) + "=\"" + Shown(entry.blockName) + "\"";
    }
    text += tb.textMode ? "; mode: title texts in the batch run, attributes when saving"
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
        out.line("Block references in layouts: none that the host shows. The plug-in reads "
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
        out.line("Matches, attributes and properties: not reported by this version.");
    }
}

void PartsListSection(ReportWriter& out, const Installation& in, const Scene& scene,
                      const Readings& readings, Overlays& overlays) {
    out.section("Parts list");
    std::string titles;
    for (const ColumnTitle& column : in.columnTitles) {
        if (!column.title.empty()) titles += (titles.empty() ? "" : ", ") + Shown(column.title);
    }
    out.line("Column-title template: " + Shown(in.columnTemplatePath) +
             (in.columnTemplateExists ? ", titles: " + (titles.empty() ? "none" : titles)
                                      : ", which does not exist"));
    out.line("Proxy entities in model space: " + std::to_string(scene.modelSpaceProxies.size()));
    for (const std::string& className : scene.modelSpaceProxies) out.line(Shown(className), 1);
    if (readings.partsList) {
        WritePartsListReading(out, *readings.partsList);
        AddPartsListOverlay(overlays, *readings.partsList);
    } else {
        out.line("Table, grid, columns and rows: not reported by this version.");
    }
}

void PrintFlowSection(ReportWriter& out, const DrawingFacts& facts, const Readings& readings,
                      Overlays& overlays) {
    out.section("Print flow");
    out.line("Print flow file: " + Shown(facts.printFilePath) +
             (facts.printFileExists
                  ? " exists; a load stamps its texts and deletes it (left as it is here)"
                  : " does not exist; a load stamps nothing"));
    if (readings.printFlow) {
        WritePrintFlowReading(out, *readings.printFlow);
        AddPrintFlowOverlay(overlays, *readings.printFlow);
    } else if (facts.printFileExists) {
        out.line("Frame corner and stamped texts: not reported by this version.");
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
    out.line(facts.label + ": " + std::to_string(scene.entityCount) +
             " entities in model space");
    if (scene.entityCount == 0) overlays.notes.push_back("Model space is empty: nothing to read.");
    TitleBlockSection(out, installation, scene, readings, overlays);
    PartsListSection(out, installation, scene, readings, overlays);
    PrintFlowSection(out, facts, readings, overlays);
}

void WriteTitleBlockReading(ReportWriter& out, const TitleBlockReading& reading) {
    for (const TitleBlockReading::Reference& reference : reading.references) {
        const std::string entry = "BLOCK" + std::to_string(reference.entry);
        std::string verdict;
        switch (reference.match) {
            case TitleBlockReading::Match::Entry: verdict = "matches " + entry; break;
            case TitleBlockReading::Match::OnlyCaseDiffers:
                verdict = "no match: only its letter case differs from " + entry;
                break;
            case TitleBlockReading::Match::NameDiffers:
                verdict = "no match: no entry names it";
                break;
        }
        out.line("\"" + Shown(reference.blockName) + "\" at " + At(reference.position) + ": " +
                 verdict, 1);
    }
    for (const TitleBlockReading::Attribute& attribute : reading.attributes) {
        if (!attribute.skipped) {
            out.line("taken: " + Shown(attribute.tag) + kArrow + Shown(attribute.property) + " = " +
                     Shown(attribute.value), 1);
        } else {
            out.line("skipped: " + Shown(attribute.tag) +
                     (*attribute.skipped == TitleBlockReading::Skip::Erased
                          ? " (erased)"
                          : " (the template does not want it)"), 1);
        }
    }
    for (const TitleBlockReading::TitleText& text : reading.texts) {
        out.line("text \"" + Shown(text.text) + "\": label \"" + Shown(text.label) + "\"" +
                 kArrow + Shown(text.property), 1);
    }
    out.line("Properties for the tree file: " + std::to_string(reading.properties.size()));
    for (const auto& [name, value] : reading.properties) {
        out.line(Shown(name) + " = " + Shown(value), 1);
    }
}

void AddTitleBlockOverlay(Overlays& overlays, const TitleBlockReading& reading) {
    for (const TitleBlockReading::Attribute& attribute : reading.attributes) {
        if (attribute.skipped) continue;
        overlays.titleValues.push_back(
            {attribute.at, Shown(attribute.property) + " = " + Shown(attribute.value)});
    }
    for (const TitleBlockReading::TitleText& text : reading.texts) {
        overlays.titleValues.push_back({text.at, Shown(text.property) + " = " + Shown(text.text)});
    }
    if (reading.properties.empty()) overlays.notes.push_back("No title-block value recognised.");
}

void WritePartsListReading(ReportWriter& out, const PartsListReading& reading) {
    switch (reading.missing) {
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
    out.line("Table in " + Shown(reading.proxyClass) + ": " +
             std::to_string(reading.gridX.size() > 0 ? reading.gridX.size() - 1 : 0) +
             " columns, " + std::to_string(reading.gridY.size() > 0 ? reading.gridY.size() - 1 : 0) +
             " bands; titles " + (reading.titlesAlongRow ? "in row " : "in column ") +
             std::to_string(reading.titleBand));
    for (const PartsListReading::Column& column : reading.columns) {
        out.line("column " + std::to_string(column.index) + ": kind " +
                 std::to_string(column.kind) + ", title \"" + Shown(column.title) + "\"", 1);
    }
    out.line("Rows for the BOM detail file: " + std::to_string(reading.rows.size()));
    for (const std::string& row : reading.rows) out.line(Shown(row), 1);
    out.line("Texts outside every cell: " + std::to_string(reading.outsideTexts.size()));
    for (const std::string& text : reading.outsideTexts) out.line(Shown(text), 1);
}

void AddPartsListOverlay(Overlays& overlays, const PartsListReading& reading) {
    if (reading.missing != PartsListReading::Missing::Nothing) {
        overlays.notes.push_back("No parts list recognised.");
        return;
    }
    TableGrid grid;
    grid.xs = reading.gridX;
    grid.ys = reading.gridY;
    grid.cells = reading.cells;
    for (const PartsListReading::Column& column : reading.columns) {
        if (column.kind < 1) continue;
        if (grid.kindNames.size() < static_cast<std::size_t>(column.kind)) {
            grid.kindNames.resize(column.kind);
        }
        grid.kindNames[column.kind - 1] = Shown(column.title);
    }
    overlays.tables.push_back(std::move(grid));
}

void WritePrintFlowReading(ReportWriter& out, const PrintFlowReading& reading) {
    out.line("Frame corner: " + At(reading.corner) +
             (reading.cornerFromOrigin ? " (the origin: nothing on the frame layer)" : ""));
    for (const std::string& source : reading.cornerFrom) out.line(Shown(source), 1);
    for (const PrintFlowReading::Stamp& stamp : reading.stamps) {
        if (!stamp.skipped.empty()) {
            out.line("\"" + Shown(stamp.text) + "\": skipped, " + stamp.skipped, 1);
            continue;
        }
        out.line("\"" + Shown(stamp.text) + "\" at " + At(stamp.at) + ", height " +
                 Number(stamp.height) + ", width factor " +
                 (stamp.widthFactor ? Number(*stamp.widthFactor) : std::string("of the style")), 1);
    }
}

void AddPrintFlowOverlay(Overlays& overlays, const PrintFlowReading& reading) {
    overlays.frameCorner = reading.corner;
    for (const PrintFlowReading::Stamp& stamp : reading.stamps) {
        if (!stamp.skipped.empty()) continue;
        overlays.printTexts.push_back(
            {stamp.at, Shown(stamp.text), stamp.height, stamp.widthFactor.value_or(1.0)});
    }
}

}  // namespace velmarin::inspect
