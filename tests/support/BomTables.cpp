#include "support/BomTables.h"

#include <algorithm>
#include <sstream>

#include "platform/Encoding.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

std::string JsonString(const std::string& gbk) {
    std::string out = "\"";
    for (const char c : platform::GbkToUtf8(gbk)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Point(double x, double y) {
    std::ostringstream out;
    out << "[" << x << ", " << y << ", 0]";
    return out.str();
}

}  // namespace

std::string BomTableJson(const std::vector<std::vector<std::string>>& rows) {
    constexpr double kLeft = 200, kBottom = 10, kWidth = 30, kHeight = 8;
    std::size_t columns = 0;
    for (const auto& row : rows) columns = std::max(columns, row.size());
    const double right = kLeft + kWidth * static_cast<double>(columns);
    const double top = kBottom + kHeight * static_cast<double>(rows.size());
    std::vector<std::string> parts;
    for (std::size_t r = 0; r <= rows.size(); ++r) {
        const double y = kBottom + kHeight * static_cast<double>(r);
        parts.push_back(R"({"type": "polyline", "points": [)" + Point(kLeft, y) + ", " +
                        Point(right, y) + "]}");
    }
    for (std::size_t c = 0; c <= columns; ++c) {
        const double x = kLeft + kWidth * static_cast<double>(c);
        parts.push_back(R"({"type": "polyline", "points": [)" + Point(x, kBottom) + ", " +
                        Point(x, top) + "]}");
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const double x = kLeft + kWidth * static_cast<double>(c) + 2;
            const double y = kBottom + kHeight * static_cast<double>(r) + 2;
            parts.push_back(R"({"type": "mtext", "contents": )" + JsonString("\\P" + rows[r][c]) +
                            R"(, "position": )" + Point(x, y) + "}");
        }
    }
    std::string json = R"({"type": "proxy", "className": "AcDbZombieEntity", "parts": [)";
    for (std::size_t i = 0; i < parts.size(); ++i) json += (i ? ", " : "") + parts[i];
    return json + "]}";
}

std::string DrawingJson(const DrawingSpec& drawing) {
    std::string entities;
    if (!drawing.title.empty()) {
        entities += R"({"type": "blockref", "block": "TK-A3", "position": [0, 0, 0],)"
                    R"( "attributes": [{"tag": "TM", "text": )" +
                    JsonString(drawing.title) + "}]}";
    }
    if (!drawing.bom.empty())
        entities += (entities.empty() ? "" : ", ") + BomTableJson(drawing.bom);
    return R"({"blocks": {"TK-A3": [{"type": "line", "start": [0, 0, 0], "end": [420, 297, 0]}]},)"
           R"( "entities": [)" +
           entities + "]}";
}

std::string ColumnTitles(const std::vector<std::string>& titles) {
    std::string ini = "[TABLE]\r\n";
    for (const std::string& title : titles) ini += title + "=" + title + "\r\n";
    return ini;
}

std::string TitleBlockTemplate(const std::string& more) {
    return "[COUNT]\r\nBLOCKCOUNT=1\r\n[BLOCK1]\r\nBLOCK_NAME=TK-A3\r\nTM=\xCD\xBC\xC3\xFB\r\n" +
           more;
}

std::string BomFileHeader() {
    return std::string("DUD13.O BomMxFile1.0\r\n") + texts::kBomFileCaptions +
           texts::kBomFileMarks;
}

std::string BomFileLine(const std::map<int, std::string>& fields) {
    std::string line = "'";
    for (int field = 1; field <= 29; ++field) {
        if (field > 1) line += "','";
        const auto found = fields.find(field);
        if (found != fields.end()) line += found->second;
    }
    return line + "'\r\n";
}

}  // namespace velmarin::testing
