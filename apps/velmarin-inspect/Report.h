#pragma once
// The inspector's report: sections a person reads, in UTF-8 on standard output.
//
// The sections "Title block", "Parts list" and "Print flow" tell what the plug-in reads. What
// they can tell from the drawing and the installation alone is written by WriteReport. What
// only the plug-in's own readers know (which reference matched which template entry, the
// table's grid and rows, the stamped texts) arrives through the Reading structures below, which
// PluginReadings fills; each has a writer for its section and an overlay for the picture. Texts
// in the Reading structures are GBK bytes, as the plug-in keeps them.

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
    struct Attribute {  // of a matched reference
        std::string tag;
        std::string value;
        std::string property;  // empty: skipped, the entry names no property for the tag
        Point at;
        int entry = 0;              // the entry its reference matched
        std::size_t reference = 0;  // its reference, in `references`
    };
    struct TitleText {  // text mode
        std::string text;
        std::string label;
        std::string value;
        std::string property;
        Point at;
    };
    bool textMode = false;
    std::vector<Reference> references;
    std::vector<Attribute> attributes;
    std::vector<TitleText> texts;
    // As the save command's tree file gets them (attributes), merged by name.
    std::vector<std::pair<std::string, std::string>> properties;
    std::size_t propertiesRead = 0;  // before the merge
    // As the batch run's tree file gets them in text mode.
    std::vector<std::pair<std::string, std::string>> textProperties;
    std::size_t textPropertiesRead = 0;
};

// --- What the table recognition and layout analysis tell.
struct PartsListReading {
    enum class Missing { Nothing, NothingSelected, NoProxy, NoMultilineText, NoTemplateTitle };
    Missing missing = Missing::Nothing;
    double windowHalfSide = 0.0;  // the selection window, centred on the origin
    int selected = 0;             // entities entirely inside it
    std::string proxyClass;
    std::vector<double> gridX;  // column boundaries
    std::vector<double> gridY;  // row boundaries
    int titleBand = 0;          // the row (or column) holding the titles, 1-based
    bool titlesAlongRow = true;
    struct Column {
        int index = 0;  // 1-based interval of gridX (of gridY when the titles run down)
        int kind = 0;
        std::string title;  // the template's title it matched
        std::string key;    // the template's key of the kind
    };
    std::vector<Column> columns;
    struct Cell {
        int column = 0;  // 1-based intervals of gridX and gridY
        int row = 0;
        int kind = 0;  // 0: in no titled column, so the detail file does not get it
        std::string text;
    };
    std::vector<Cell> cells;
    std::vector<std::string> rows;  // the lines of the BOM detail file, without their CR LF
    struct Stray {
        std::string text;
        Point at;
    };
    std::vector<Stray> outsideTexts;  // texts that fell in no cell
    // A table savebom finds in the whole model space that reaches outside the window, so that
    // the save command and the batch run do not see it.
    struct Placed {
        std::string className;
        Box extents;
    };
    std::optional<Placed> tableOutsideWindow;
};

// --- What the print flow tells.
struct PrintFlowReading {
    std::string problem;  // why a load stamps nothing; empty when it stamps
    Point corner;
    bool cornerFromOrigin = false;  // nothing on the frame layer
    using Source = PartsListReading::Placed;
    std::vector<Source> cornerFrom;  // the entities the corner came from
    struct Stamp {
        std::string text;
        Point at;
        double height = 3.0;
        std::optional<double> widthFactor;  // none: the text style's own width
    };
    std::vector<Stamp> stamps;
};

// What the inspector knows without the plug-in's readers.
struct DrawingFacts {
    std::string label;          // the drawing as the user named it (UTF-8)
    std::string printFilePath;  // GBK: <drawing>.print.ini
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
// `sheet`: the drawing's extents, to tell the texts that land off the sheet.
void WritePrintFlowReading(ReportWriter& out, const PrintFlowReading& reading, const Box& sheet);
void AddPrintFlowOverlay(Overlays& overlays, const PrintFlowReading& reading);

}  // namespace velmarin::inspect
