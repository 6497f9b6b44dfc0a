#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "Shown.h"

namespace velmarin::inspect {
namespace {

// One colour per column kind (index kind); index 0 for cells of no column.
constexpr const char* kKindColours[] = {"#d0d0d0", "#f4a6a6", "#f7c59f", "#f9e79f", "#c5e1a5",
                                        "#a5d6a7", "#80cbc4", "#81d4fa", "#90caf9", "#b39ddb",
                                        "#ce93d8", "#f48fb1", "#bcaaa4", "#ffcc80", "#e6ee9c",
                                        "#80deea", "#9fa8da", "#ef9a9a", "#a1887f"};
constexpr int kKindCount = sizeof(kKindColours) / sizeof(kKindColours[0]) - 1;

const char* KindColour(int kind) {
    return kKindColours[kind >= 1 && kind <= kKindCount ? kind : 0];
}

std::string Number(double value) { return ShownNumber(std::isfinite(value) ? value : 0.0); }

// The width of a UTF-8 text in heights of its font, roughly: a character of three or four bytes
// (Chinese) is a full square, any other about half of one.
double WidthInHeights(const std::string& utf8) {
    double width = 0.0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;
        width += c >= 0xE0 ? 1.0 : 0.6;
    }
    return width;
}

// UTF-8 text for XML: markup characters escaped, control characters XML forbids dropped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

class Svg {
  public:
    Svg(const Scene& scene, const Overlays& overlays) : scene_(scene), overlays_(overlays) {
        Box box = scene.extents;
        for (const SceneItem& item : scene.items) {
            for (const Point& p : item.points) box.add(p);
            if (item.kind == SceneItem::Kind::Text) box.add(item.position);
        }
        for (const TableGrid& table : overlays.tables) {
            if (table.xs.empty() || table.ys.empty()) continue;
            box.add(Point{table.xs.front(), table.ys.front()});
            box.add(Point{table.xs.back(), table.ys.back()});
        }
        for (const ValueMarker& marker : overlays.titleValues) box.add(marker.at);
        if (overlays.frameCorner) box.add(*overlays.frameCorner);
        for (const PrintTextMark& mark : overlays.printTexts) box.add(mark.at);
        if (box.empty()) {  // nothing to draw: a sheet of a usual size for the notes
            box.add(Point{0, 0});
            box.add(Point{100, 70});
        }
        size_ = std::max({box.max.x - box.min.x, box.max.y - box.min.y, 1e-6});
        margin_ = size_ * 0.05;
        stroke_ = size_ * 0.0015;
        noteHeight_ = size_ * 0.022;
        placeLabels(box);
        box_ = box;
    }

    std::string document(const std::string& title) {
        std::vector<std::string> header = overlays_.notes;
        header.insert(header.end(), scene_.notes.begin(), scene_.notes.end());
        const std::vector<std::pair<int, std::string>> legend = legendRows();
        const double band = (header.size() + legend.size()) * noteHeight_ * 1.5 +
                            (header.empty() && legend.empty() ? 0.0 : margin_ / 2);
        const double left = box_.min.x - margin_;
        const double top = -box_.max.y - margin_ - band;
        const double width = box_.max.x - box_.min.x + 2 * margin_;
        const double height = box_.max.y - box_.min.y + 2 * margin_ + band;

        out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" viewBox=\""
             << Number(left) << ' ' << Number(top) << ' ' << Number(width) << ' ' << Number(height)
             << "\" width=\"" << Number(width / size_ * 1000) << "\" height=\""
             << Number(height / size_ * 1000) << "\" font-family=\"sans-serif\">\n"
             << "<title>" << Escaped(title) << "</title>\n"
             << "<rect x=\"" << Number(left) << "\" y=\"" << Number(top) << "\" width=\""
             << Number(width) << "\" height=\"" << Number(height) << "\" fill=\"white\"/>\n";
        tables();
        drawing();
        markers();

        double y = top + margin_ / 2 + noteHeight_;
        for (const std::string& note : header) {
            text(left + margin_ / 2, y, noteHeight_, Escaped(note), "#b00020");
            y += noteHeight_ * 1.5;
        }
        for (const auto& [kind, name] : legend) {
            out_ << "<rect x=\"" << Number(left + margin_ / 2) << "\" y=\""
                 << Number(y - noteHeight_) << "\" width=\"" << Number(noteHeight_ * 2)
                 << "\" height=\"" << Number(noteHeight_) << "\" fill=\"" << KindColour(kind)
                 << "\" stroke=\"#555\" stroke-width=\"" << Number(stroke_) << "\"/>\n";
            text(left + margin_ / 2 + noteHeight_ * 2.5, y, noteHeight_, Escaped(name), "#222");
            y += noteHeight_ * 1.5;
        }
        out_ << "</svg>\n";
        return out_.str();
    }

  private:
    // A title-block value's label, set aside from the drawing so that labels cover neither each
    // other nor the drawing's texts and print texts; a leader line joins it to its mark.
    struct Label {
        Point mark;
        Point at;  // the middle of the label's left end
        std::string text;
    };

    // A column right of the drawing, each label level with its mark or pushed down just below
    // the label above it. The picture's box grows to hold the column.
    void placeLabels(Box& box) {
        const double height = labelHeight();
        const double spacing = height * 1.5;
        const double column = box.max.x + margin_;
        std::vector<std::size_t> order(overlays_.titleValues.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
            const Point& pa = overlays_.titleValues[a].at;
            const Point& pb = overlays_.titleValues[b].at;
            return pa.y > pb.y || (pa.y == pb.y && pa.x < pb.x);
        });
        double lowest = 0.0;
        for (std::size_t n = 0; n < order.size(); ++n) {
            const ValueMarker& marker = overlays_.titleValues[order[n]];
            const double y = n == 0 ? marker.at.y : std::min(marker.at.y, lowest - spacing);
            lowest = y;
            labels_.push_back({marker.at, {column, y}, marker.label});
            box.add(Point{column + WidthInHeights(marker.label) * height, y - height});
            box.add(Point{column, y + height});
        }
    }

    double labelHeight() const { return noteHeight_ * 0.8; }

    std::vector<std::pair<int, std::string>> legendRows() const {
        std::set<int> kinds;
        for (const TableGrid& table : overlays_.tables) {
            for (const TableGrid::Cell& cell : table.cells) kinds.insert(cell.kind);
        }
        std::vector<std::pair<int, std::string>> rows;
        for (const int kind : kinds) {
            std::string name = kind == 0 ? "no column" : "column kind " + std::to_string(kind);
            for (const TableGrid& table : overlays_.tables) {
                if (kind >= 1 && kind <= static_cast<int>(table.kindNames.size()) &&
                    !table.kindNames[kind - 1].empty()) {
                    name = std::to_string(kind) + " " + table.kindNames[kind - 1];
                }
            }
            rows.emplace_back(kind, name);
        }
        return rows;
    }

    void text(double x, double y, double height, const std::string& escaped, const char* colour) {
        out_ << "<text x=\"" << Number(x) << "\" y=\"" << Number(y) << "\" font-size=\""
             << Number(height) << "\" fill=\"" << colour << "\" xml:space=\"preserve\">" << escaped
             << "</text>\n";
    }

    void path(const std::vector<Point>& points, const char* colour, bool dashed) {
        if (points.empty()) return;
        out_ << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\""
             << Number(stroke_) << '"';
        if (dashed) out_ << " stroke-dasharray=\"" << Number(stroke_ * 4) << "\"";
        out_ << " points=\"";
        for (const Point& p : points) out_ << Number(p.x) << ',' << Number(-p.y) << ' ';
        out_ << "\"/>\n";
    }

    void drawing() {
        out_ << "<g id=\"model-space\">\n";
        for (const SceneItem& item : scene_.items) {
            switch (item.kind) {
                case SceneItem::Kind::Path:
                    path(item.points, "#333", item.dashed);
                    break;
                case SceneItem::Kind::Circle:
                    out_ << "<circle cx=\"" << Number(item.center.x) << "\" cy=\""
                         << Number(-item.center.y) << "\" r=\"" << Number(item.radius)
                         << "\" fill=\"none\" stroke=\"#333\" stroke-width=\"" << Number(stroke_)
                         << "\"/>\n";
                    break;
                case SceneItem::Kind::Text:
                    scaledText(item.position, item.height, item.widthFactor, item.lines, "#1a237e");
                    break;
            }
        }
        out_ << "</g>\n";
    }

    // Lines of a text, the last one standing on its lower-left corner as the host places the
    // text and the others above it, squeezed by its width factor.
    void scaledText(const Point& at, double height, double widthFactor,
                    const std::vector<std::string>& lines, const char* colour) {
        if (!(height > 0) || !std::isfinite(height)) height = 2.5;
        if (!(widthFactor > 0) || !std::isfinite(widthFactor)) widthFactor = 1.0;
        out_ << "<text transform=\"translate(" << Number(at.x) << ',' << Number(-at.y) << ") scale("
             << Number(widthFactor) << ",1)\" font-size=\"" << Number(height) << "\" fill=\""
             << colour << "\" xml:space=\"preserve\">";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double above = static_cast<double>(lines.size() - 1 - i) * height * 1.4;
            out_ << "<tspan x=\"0\" y=\"" << Number(-above) << "\">" << Escaped(lines[i])
                 << "</tspan>";
        }
        out_ << "</text>\n";
    }

    void tables() {
        out_ << "<g id=\"tables\">\n";
        for (const TableGrid& table : overlays_.tables) {
            const int columns = static_cast<int>(table.xs.size()) - 1;
            const int rows = static_cast<int>(table.ys.size()) - 1;
            for (const TableGrid::Cell& cell : table.cells) {
                if (cell.column < 1 || cell.column > columns || cell.row < 1 || cell.row > rows) {
                    continue;
                }
                const double x0 = table.xs[cell.column - 1];
                const double x1 = table.xs[cell.column];
                const double y1 = table.ys[cell.row];
                out_ << "<rect x=\"" << Number(x0) << "\" y=\"" << Number(-y1) << "\" width=\""
                     << Number(x1 - x0) << "\" height=\"" << Number(y1 - table.ys[cell.row - 1])
                     << "\" fill=\"" << KindColour(cell.kind) << "\" fill-opacity=\"0.6\"/>\n";
            }
            if (columns < 1 || rows < 1) continue;
            for (const double x : table.xs) {
                path({{x, table.ys.front()}, {x, table.ys.back()}}, "#00796b", false);
            }
            for (const double y : table.ys) {
                path({{table.xs.front(), y}, {table.xs.back(), y}}, "#00796b", false);
            }
        }
        out_ << "</g>\n";
    }

    void markers() {
        const double r = size_ * 0.006;
        out_ << "<g id=\"findings\">\n";
        for (const Label& label : labels_) {
            out_ << "<circle cx=\"" << Number(label.mark.x) << "\" cy=\"" << Number(-label.mark.y)
                 << "\" r=\"" << Number(r) << "\" fill=\"#d81b60\"/>\n";
            const double gap = labelHeight() * 0.3;
            path({label.mark, {label.at.x - gap, label.at.y}}, "#d81b60", true);
            text(label.at.x, -label.at.y + labelHeight() * 0.35, labelHeight(), Escaped(label.text),
                 "#d81b60");
        }
        if (overlays_.frameCorner) {
            const Point& c = *overlays_.frameCorner;
            path({{c.x - r * 3, c.y}, {c.x + r * 3, c.y}}, "#1565c0", false);
            path({{c.x, c.y - r * 3}, {c.x, c.y + r * 3}}, "#1565c0", false);
            // Above and left of the corner: the corner is the drawing's right edge, and the
            // title-block labels' leader lines run below it.
            text(c.x - r * 1.5 - noteHeight_ * 6, -c.y - r * 1.5, noteHeight_ * 0.8, "frame corner",
                 "#1565c0");
        }
        for (const PrintTextMark& mark : overlays_.printTexts) {
            out_ << "<circle cx=\"" << Number(mark.at.x) << "\" cy=\"" << Number(-mark.at.y)
                 << "\" r=\"" << Number(r / 2) << "\" fill=\"#6a1b9a\"/>\n";
            scaledText(mark.at, mark.height, mark.widthFactor, {mark.text}, "#6a1b9a");
        }
        out_ << "</g>\n";
    }

    const Scene& scene_;
    const Overlays& overlays_;
    std::ostringstream out_;
    Box box_;
    std::vector<Label> labels_;
    double size_ = 1.0;
    double margin_ = 0.0;
    double stroke_ = 0.0;
    double noteHeight_ = 0.0;
};

}  // namespace

std::string DrawSvg(const Scene& scene, const Overlays& overlays, const std::string& title) {
    return Svg(scene, overlays).document(title);
}

}  // namespace velmarin::inspect
