#include "DxfSupport.h"

#include <fstream>
#include <sstream>

#include "host/sim/DrawingFile.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Pairs.h"

namespace velmarin::dxftest {

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(VELMARIN_DXF_SAMPLES) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Dxf(const Pairs& pairs, const std::string& lineEnd) {
    std::string text;
    for (const auto& [code, value] : pairs) {
        text += std::to_string(code) + lineEnd + value + lineEnd;
    }
    return text;
}

std::string R2000File(const Pairs& entities, const std::string& codePage,
                      const std::vector<std::string>& layers, const std::string& version) {
    Pairs pairs = {{0, "SECTION"},
                   {2, "HEADER"},
                   {9, "$ACADVER"},
                   {1, version},
                   {9, "$DWGCODEPAGE"},
                   {3, codePage},
                   {9, "$HANDSEED"},
                   {5, "100"},
                   {0, "ENDSEC"},
                   {0, "SECTION"},
                   {2, "TABLES"},
                   {0, "TABLE"},
                   {2, "LAYER"},
                   {5, "2"},
                   {70, std::to_string(layers.size())}};
    int handle = 0x10;
    for (const std::string& layer : layers) {
        pairs.insert(pairs.end(), {{0, "LAYER"},
                                   {5, host::sim::dxf::HandleText(handle++)},
                                   {2, layer},
                                   {70, "0"},
                                   {62, "7"}});
    }
    pairs.insert(pairs.end(), {{0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    pairs.insert(pairs.end(), entities.begin(), entities.end());
    pairs.insert(pairs.end(), {{0, "ENDSEC"}, {0, "EOF"}});
    return Dxf(pairs);
}

std::unique_ptr<host::sim::SimDatabase> Load(const std::string& bytes, const std::string& label) {
    std::string error;
    auto db = host::sim::LoadDxf(bytes, label, error);
    EXPECT_NE(db, nullptr) << error;
    return db;
}

std::vector<const host::Entity*> ModelSpace(const host::sim::SimDatabase& db) {
    std::vector<const host::Entity*> entities;
    const auto* space = db.peekAs<host::sim::SimBlockTableRecord>(db.modelSpaceId());
    for (host::ObjectId id : space->entityIds()) entities.push_back(db.peekAs<host::Entity>(id));
    return entities;
}

std::string Described(const host::sim::SimDatabase& db) { return host::sim::WriteDrawing(db); }

std::vector<std::string> ValuesOf(const std::string& dxf, int code) {
    std::vector<std::string> values;
    host::sim::dxf::PairScanner scanner(dxf);
    host::sim::dxf::Pair pair;
    while (scanner.next(pair)) {
        if (pair.code == code) values.emplace_back(pair.value);
    }
    return values;
}

}  // namespace velmarin::dxftest
