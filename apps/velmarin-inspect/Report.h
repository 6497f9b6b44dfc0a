#pragma once
// The inspector's report: sections a person reads, in UTF-8 on standard output.
//
// The sections "Title block", "Parts list" and "Print flow" tell what the plug-in reads. What
// they can tell from the drawing and the installation alone is written by WriteReport. What
// only the plug-in's own readers know (which reference matched which template entry, the
// table's grid and rows, the stamped texts) arrives through the Reading structures below; each
// has a writer for its section and an overlay for the picture. Texts in the Reading
// structures are GBK bytes, as the plug-in keeps them.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "DrawingScene.h"
#include "Installation.h"
#include "Picture.h"

namespace velmarin::inspect {

class ReportWriter {
  public:
    explicit ReportWriter(std::ostream& out) : out_(out) {}
    void section(const std::string& title);  // a blank line between sections
    void line(const std::string& utf8, int indent = 0);

  private:
    std::ostream& out_;
    bool first_ = true;
};

// --- What the title-block readers tell.
struct TitleBlockReading {
    enum class Match { Entry, NameDiffers, OnlyCaseDiffers };
    struct Reference {
        std::string blockName;
        Point position;
        Match match = Match::NameDiffers;
        int entry = 0;  // BLOCK<entry> matched, or the one differing only in letter case
    };
    enum class Skip { NotWanted, Erased };
    struct Attribute {
        std::string tag;
        std::string property;  // empty when skipped
        std::string value;
        Point at;
        std::optional<Skip> skipped;
    };
    struct TitleText {  // text mode
        std::string text;
        std::string label;
        std::string property;
        Point at;
    };
    std::vector<Reference> references;
    std::vector<Attribute> attributes;
    std::vector<TitleText> texts;
    std::vector<std::pair<std::string, std::string>> properties;  // as the tree file gets them
};

// --- What the table recognition and layout analysis tell.
struct PartsListReading {
    enum class Missing { Nothing, NoProxy, NoMultilineText, NoTemplateTitle };
    Missing missing = Missing::Nothing;
    std::string proxyClass;
    std::vector<double> gridX;  // column boundaries
    std::vector<double> gridY;  // row boundaries
    int titleBand = 0;          // the row (or column) holding the titles, 1-based
    bool titlesAlongRow = true;
    struct Column {
        int index = 0;  // 1-based interval of gridX (of gridY when the titles run down)
        int kind = 0;
        std::string title;
    };
    std::vector<Column> columns;
    std::vector<TableGrid::Cell> cells;
    std::vector<std::string> rows;          // the rows as the BOM detail file gets them
    std::vector<std::string> outsideTexts;  // texts that fell in no cell
};

// --- What the print flow tells.
struct PrintFlowReading {
    Point corner;
    bool cornerFromOrigin = false;        // nothing on the frame layer
    std::vector<std::string> cornerFrom;  // the entities the corner came from, described
    struct Stamp {
        std::string text;
        Point at;
        double height = 3.0;
        std::optional<double> widthFactor;  // none: the text style's own width
        std::string skipped;                // why it is not stamped; empty when it is
    };
    std::vector<Stamp> stamps;
};

// What the inspector knows without the plug-in's readers.
struct DrawingFacts {
    std::string label;            // the drawing as the user named it (UTF-8)
    std::string printFilePath;    // GBK: <drawing>.print.ini
    bool printFileExists = false;
};

struct Readings {
    std::optional<TitleBlockReading> titleBlock;
    std::optional<PartsListReading> partsList;
    std::optional<PrintFlowReading> printFlow;
};

// The whole report; `overlays` gets what the picture shows of it.
void WriteReport(ReportWriter& out, const Installation& installation, const Scene& scene,
                 const DrawingFacts& facts, const Readings& readings, Overlays& overlays);

// The parts of each section that the plug-in's readers feed.
void WriteTitleBlockReading(ReportWriter& out, const TitleBlockReading& reading);
void AddTitleBlockOverlay(Overlays& overlays, const TitleBlockReading& reading);
void WritePartsListReading(ReportWriter& out, const PartsListReading& reading);
void AddPartsListOverlay(Overlays& overlays, const PartsListReading& reading);
void WritePrintFlowReading(ReportWriter& out, const PrintFlowReading& reading);
void AddPrintFlowOverlay(Overlays& overlays, const PrintFlowReading& reading);

}  // namespace velmarin::inspect
