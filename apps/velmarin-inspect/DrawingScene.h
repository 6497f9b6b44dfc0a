#pragma once
// What a drawing's model space looks like, walked through the host seam: flat drawing items in
// world coordinates (block references expanded, proxy entities replaced by their graphics) and
// the block references found, for the picture and the report.

#include <optional>
#include <string>
#include <vector>

#include "host/Host.h"

namespace velmarin::inspect {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Box {
    Point min;
    Point max;
    void add(const Point& p);
    void add(const Box& other);
    bool empty() const { return !set; }
    bool set = false;
};

struct SceneItem {
    enum class Kind { Path, Circle, Text };
    Kind kind = Kind::Path;
    std::vector<Point> points;       // Path: the vertices in order
    Point center;                    // Circle
    double radius = 0.0;             // Circle
    bool dashed = false;             // drawn from the entity's box only (no curve in the seam)
    std::vector<std::string> lines;  // Text: UTF-8, one entry per line
    Point position;                  // Text: the lower-left corner of its last line
    double height = 2.5;             // Text
    double widthFactor = 1.0;        // Text
    std::string layer;               // GBK
};

// A block reference of a space, for the title-block section.
struct BlockReferenceFact {
    std::string blockName;  // GBK
    Point position;
    std::vector<std::pair<std::string, std::string>> attributes;  // tag -> text, GBK
};

struct Scene {
    std::vector<SceneItem> items;
    Box extents;  // the host's extents of the model-space entities
    int entityCount = 0;
    std::vector<BlockReferenceFact> modelSpaceReferences;
    std::vector<std::string> modelSpaceProxies;  // class names (GBK), in drawing order
    // References in the layouts, when the host shows the paper-space records.
    bool layoutsVisible = false;
    std::vector<std::pair<std::string, BlockReferenceFact>> layoutReferences;  // layout record
    std::vector<std::string> notes;  // what could not be drawn as it is (UTF-8)
};

// Walks model space of `db` (and the paper-space records the host has) without changing it.
Scene ReadScene(host::Database& db);

// Multiline-text contents as lines of plain text: paragraph codes split lines, format groups and
// codes go (GBK in, GBK out).
std::vector<std::string> PlainMTextLines(const std::string& contents);

}  // namespace velmarin::inspect
