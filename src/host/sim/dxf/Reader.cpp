// Reading a DXF file into a database: the sections are walked pair by pair; the header gives
// the version, the code page and the next free handle, the layer table the layers, the blocks
// section the block definitions, the entities section model space. Every stretch of the file
// is noted as given back as it was or as standing for an object of the database.

#include <algorithm>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/database/SymbolName.h"
#include "host/sim/dxf/EntityReader.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Pairs.h"
#include "host/sim/dxf/Source.h"

namespace velmarin::host::sim {
namespace dxf {
namespace {

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsHandleCode(int code) {
    return code == 5 || code == 105 || (code >= 320 && code <= 369) ||
           (code >= 390 && code <= 399) || code == 480 || code == 481 || code == 1005;
}

// Blocks that hold the spaces rather than a definition: their entities are given back as read.
bool IsSpaceBlock(const std::string& name) {
    const std::string folded = FoldedName(name);
    return folded == "*MODEL_SPACE" || folded == "$MODEL_SPACE" ||
           folded.rfind("*PAPER_SPACE", 0) == 0 || folded.rfind("$PAPER_SPACE", 0) == 0;
}

constexpr const char kPaperSpace[] = "*Paper_Space";

// The blocks of the layouts: "*Paper_Space", "*Paper_Space0", ...
bool IsPaperSpaceBlock(const std::string& name) {
    const std::string folded = FoldedName(name);
    return folded.rfind("*PAPER_SPACE", 0) == 0 || folded.rfind("$PAPER_SPACE", 0) == 0;
}

class Reader {
  public:
    Reader(const std::string& label, SimDatabase& db, DxfSource& source, std::string& error)
        : problems_{label, error},
          db_(db),
          source_(source),
          scanner_(source.bytes, BodyStart(source.bytes)),
          entities_(db, problems_, source.layerOrder) {}

    bool read() {
        const std::string_view bytes = source_.bytes;
        const std::size_t start = BodyStart(bytes);
        if (bytes.substr(start, kBinarySentinel.size()) == kBinarySentinel) {
            problems_.error = problems_.label +
                              ": a binary DXF file, which the emulator does not read; save the "
                              "drawing as an ASCII DXF file";
            return false;
        }
        const Pair* first = scanner_.peek();
        if (first == nullptr) {
            if (scanner_.failed()) return scannerProblem();
            return problems_.at(1, "the file holds no DXF data");
        }
        bool sawEof = false;
        bool styled = false;
        std::size_t end = bytes.size();
        while (scanner_.peek() != nullptr) {
            Pair pair;
            take(pair);
            if (pair.code == 999) continue;  // a comment
            if (!styled) {
                noteStyle(pair);
                styled = true;
            }
            const std::string_view value = Trimmed(pair.value);
            if (pair.code != 0) {
                return problems_.at(pair.line, "group code " + std::to_string(pair.code) +
                                                   " outside a section (a section starts with "
                                                   "0 and SECTION)");
            }
            if (value == "EOF") {
                sawEof = true;
                placeEntitiesSection(pair.begin);
                end = pair.end;  // what follows the end marker is no part of the drawing
                break;
            }
            if (value != "SECTION") {
                return problems_.at(pair.line, "SECTION or EOF expected, not \"" +
                                                   std::string(value.substr(0, 40)) + "\"");
            }
            if (!section(pair.begin)) return false;
        }
        if (scanner_.failed()) return scannerProblem();
        startCodec();
        if (!sawEof) placeEntitiesSection(end);
        if (end > rawStart_) source_.segments.push_back({Segment::Kind::Raw, rawStart_, end});
        if (!sawEof) source_.segments.push_back({Segment::Kind::Eof, end, end});
        finishFormat();
        return true;
    }

  private:
    bool take(Pair& pair) {
        if (!scanner_.next(pair)) return false;
        if (IsHandleCode(pair.code) && !(pair.code == 5 && inHeader_)) {
            std::uint64_t handle = 0;
            // A wild pointer near the top of the range would leave no handle to give.
            if (ParseHandle(pair.value, handle) && handle < (std::uint64_t{1} << 62)) {
                maxHandle_ = std::max(maxHandle_, handle);
            }
            if (pair.code == 5) sawHandles_ = true;
        } else if (pair.code == 100) {
            sawMarkers_ = true;
        }
        return true;
    }

    // One object: its code-0 pair and the pairs up to the next code 0.
    bool collect(std::vector<Pair>& pairs) {
        pairs.clear();
        Pair pair;
        if (!take(pair)) return false;
        pairs.push_back(pair);
        for (const Pair* next = scanner_.peek(); next != nullptr && next->code != 0;
             next = scanner_.peek()) {
            take(pair);
            pairs.push_back(pair);
        }
        return !scanner_.failed();
    }

    static bool Is(const Pair* pair, std::string_view type) {
        return pair != nullptr && pair->code == 0 && Trimmed(pair->value) == type;
    }

    bool scannerProblem() { return problems_.at(scanner_.errorLine(), scanner_.error()); }

    // The pairs ran out inside `section`.
    bool ended(const std::string& section) {
        if (scanner_.failed()) return scannerProblem();
        return problems_.at(std::max(1, scanner_.lineCount() - 1),
                            "the file ends inside the " + section + " section: it is cut short");
    }

    void special(Segment::Kind kind, std::size_t begin, std::size_t end, ObjectId id = kNullId,
                 ObjectId record = kNullId) {
        if (begin > rawStart_) source_.segments.push_back({Segment::Kind::Raw, rawStart_, begin});
        source_.segments.push_back({kind, begin, end, id, record});
        rawStart_ = end;
    }

    void noteStyle(const Pair& first) {
        const std::string_view bytes = source_.bytes;
        const std::size_t lineEnd = bytes.find_first_of("\r\n", first.begin);
        if (lineEnd != std::string_view::npos && bytes[lineEnd] == '\r') {
            source_.format.lineEnd =
                lineEnd + 1 < bytes.size() && bytes[lineEnd + 1] == '\n' ? "\r\n" : "\r";
        } else {
            source_.format.lineEnd = "\n";
        }
        source_.format.padCodes = bytes[first.begin] == ' ';
    }

    void startCodec() {
        if (codecReady_) return;
        codecReady_ = true;
        // From the 2007 format on texts are UTF-8 anyway: no need to look at the bytes.
        const bool modern = validVersion() && version_ >= "AC1021";
        const bool utf8 = !modern && HasNonAscii(source_.bytes) && IsUtf8(source_.bytes);
        source_.format.codec = TextCodec::ForFile(version_, codePage_, utf8);
        entities_.setCodec(source_.format.codec, validVersion() && version_ >= "AC1024");
    }

    bool validVersion() const { return version_.size() == 6 && version_.rfind("AC", 0) == 0; }

    void finishFormat() {
        DxfFormat& format = source_.format;
        format.version = validVersion() ? version_ : (sawMarkers_ ? "AC1015" : "AC1009");
        format.handles =
            format.version >= "AC1012" || handSeedSeen_ || handling_ == 1 || sawHandles_;
        source_.nextHandle = std::max<std::uint64_t>({handSeed_, maxHandle_ + 1, 1});
        source_.nextHandleAsRead = source_.nextHandle;
    }

    // `begin`: where the section's SECTION pair starts.
    bool section(std::size_t begin) {
        Pair name;
        if (!take(name)) return ended("unnamed");
        if (name.code != 2) return problems_.at(name.line, "a SECTION needs its name in group 2");
        const std::string sectionName(Trimmed(name.value));
        if (sectionName == "HEADER") return header();
        startCodec();
        if (sectionName == "TABLES") return tables();
        if (sectionName == "BLOCKS") return blocks();
        if (sectionName == "ENTITIES") {
            sawEntities_ = true;
            return entities();
        }
        // Model space comes before the objects: where it goes when the file has none yet.
        if (sectionName == "OBJECTS" || sectionName == "THUMBNAILIMAGE" ||
            sectionName == "ACDSDATA") {
            placeEntitiesSection(begin);
        }
        return skip(sectionName);
    }

    // A file without an entities section gets one here if model space gains entities.
    void placeEntitiesSection(std::size_t at) {
        if (sawEntities_ || entitiesPlaced_) return;
        entitiesPlaced_ = true;
        special(Segment::Kind::NewEntitiesSection, at, at, db_.modelSpaceId());
    }

    bool skip(const std::string& sectionName) {
        Pair pair;
        while (scanner_.peek() != nullptr) {
            take(pair);
            if (pair.code == 0 && Trimmed(pair.value) == "ENDSEC") return true;
        }
        return ended(sectionName);
    }

    bool header() {
        inHeader_ = true;
        std::string variable;
        Pair pair;
        while (scanner_.peek() != nullptr) {
            take(pair);
            if (pair.code == 0) {
                if (Trimmed(pair.value) != "ENDSEC") {
                    return problems_.at(pair.line, "the HEADER section ends without ENDSEC");
                }
                if (!handSeedSeen_) special(Segment::Kind::MissingHandSeed, pair.begin, pair.begin);
                inHeader_ = false;
                startCodec();
                return true;
            }
            if (pair.code == 9) {
                variable = std::string(Trimmed(pair.value));
            } else if (variable == "$ACADVER" && pair.code == 1) {
                version_ = std::string(Trimmed(pair.value));
            } else if (variable == "$DWGCODEPAGE" && pair.code == 3) {
                codePage_ = std::string(Trimmed(pair.value));
            } else if (variable == "$HANDSEED" && pair.code == 5 && !handSeedSeen_) {
                ParseHandle(pair.value, handSeed_);
                handSeedSeen_ = true;
                special(Segment::Kind::HandSeed, pair.begin, pair.end);
            } else if (variable == "$HANDLING" && pair.code == 70) {
                std::int64_t handling = 0;
                if (ParseInteger(pair.value, handling)) handling_ = static_cast<int>(handling);
            }
        }
        return ended("HEADER");
    }

    bool tables() {
        while (const Pair* next = scanner_.peek()) {
            if (Is(next, "ENDSEC")) {
                Pair pair;
                take(pair);
                return true;
            }
            if (Is(next, "TABLE")) {
                if (!table()) return false;
            } else {
                Pair pair;
                take(pair);
            }
        }
        return ended("TABLES");
    }

    static std::string_view First(const std::vector<Pair>& pairs, int code) {
        for (const Pair& pair : pairs) {
            if (pair.code == code) return Trimmed(pair.value);
        }
        return {};
    }

    bool table() {
        if (!collect(pairs_)) return scannerProblem();
        const std::string name(First(pairs_, 2));
        const std::string handle(First(pairs_, 5));
        while (const Pair* next = scanner_.peek()) {
            if (Is(next, "ENDTAB")) {
                if (name == "LAYER") {
                    source_.layerTableHandle = handle;
                    special(Segment::Kind::NewLayers, next->begin, next->begin);
                }
                Pair pair;
                take(pair);
                return true;
            }
            if (Is(next, "ENDSEC")) return true;  // a table without its end: the section ends it
            if (next->code != 0) {
                Pair pair;
                take(pair);
                continue;
            }
            if (!collect(pairs_)) return scannerProblem();
            const std::string_view type = Trimmed(pairs_.front().value);
            if (name == "LAYER" && type == "LAYER") layerEntry(pairs_);
            if (name == "BLOCK_RECORD" && type == "BLOCK_RECORD") {
                const std::string blockName = entities_.name(First(pairs_, 2));
                source_.blockRecordHandles[FoldedName(blockName)] = std::string(First(pairs_, 5));
            }
        }
        return ended("TABLES");
    }

    void layerEntry(const std::vector<Pair>& pairs) {
        const std::string name = entities_.name(First(pairs, 2));
        if (name.empty()) return;
        std::int64_t flags = 0;
        std::int64_t color = 7;
        ParseInteger(First(pairs, 70), flags);
        ParseInteger(First(pairs, 62), color);
        source_.layerOrder.push_back(name);
        DbObject* object = nullptr;
        if (db_.openObject(object, db_.ensureLayer(name), OpenMode::ForWrite) != eOk) return;
        if (auto* record = dynamic_cast<LayerTableRecord*>(object)) {
            record->setIsFrozen((flags & 1) != 0);
            record->setVPDFLT((flags & 2) != 0);
            record->setIsLocked((flags & 4) != 0);
            record->setIsOff(color < 0);
        }
        object->close();
    }

    bool blocks() {
        while (const Pair* next = scanner_.peek()) {
            if (Is(next, "ENDSEC")) {
                Pair pair;
                take(pair);
                return true;
            }
            if (Is(next, "BLOCK")) {
                if (!block()) return false;
            } else {
                Pair pair;
                take(pair);
            }
        }
        return ended("BLOCKS");
    }

    bool block() {
        if (!collect(pairs_)) return scannerProblem();
        const std::string name = entities_.name(First(pairs_, 2));
        Point3 origin;
        ParseDouble(First(pairs_, 10), origin.x);
        ParseDouble(First(pairs_, 20), origin.y);
        ParseDouble(First(pairs_, 30), origin.z);
        ObjectId record = kNullId;
        if (IsPaperSpaceBlock(name)) {
            // A layout's entities: not a definition, but the host shows them in its record,
            // named as the host names it ("$PAPER_SPACE" of old files is "*Paper_Space").
            record = db_.ensureBlock(kPaperSpace + name.substr(sizeof(kPaperSpace) - 1));
        } else if (!name.empty() && !IsSpaceBlock(name)) {
            record = db_.ensureBlock(name);
            DbObject* object = nullptr;
            if (db_.openObject(object, record, OpenMode::ForWrite) == eOk) {
                if (auto* definition = dynamic_cast<SimBlockTableRecord*>(object)) {
                    definition->setDeclared(true);
                    definition->setOrigin(origin);
                }
                object->close();
            }
        }
        if (!entityList(record, "BLOCKS")) return false;
        const Pair* next = scanner_.peek();
        if (record != kNullId)
            special(Segment::Kind::NewEntities, next->begin, next->begin, record);
        if (Is(next, "ENDBLK") && !collect(pairs_)) return scannerProblem();
        return true;
    }

    bool entities() {
        if (!entityList(db_.modelSpaceId(), "ENTITIES")) return false;
        const Pair* end = scanner_.peek();
        special(Segment::Kind::NewEntities, end->begin, end->begin, db_.modelSpaceId());
        Pair pair;
        take(pair);
        return true;
    }

    // Entities up to the end of the section (in a block also up to its ENDBLK or the next
    // BLOCK); the pair that ends the list is left unread.
    bool entityList(ObjectId record, const std::string& section) {
        const bool inBlock = section == "BLOCKS";
        while (const Pair* next = scanner_.peek()) {
            if (next->code != 0) {
                Pair pair;
                take(pair);
                continue;
            }
            if (Is(next, "ENDSEC") || (inBlock && (Is(next, "ENDBLK") || Is(next, "BLOCK")))) {
                return true;
            }
            if (!entity(record)) return false;
        }
        return ended(section);
    }

    bool entity(ObjectId record) {
        if (!collect(pairs_)) return scannerProblem();
        const std::string type(Trimmed(pairs_.front().value));
        followers_.clear();
        end_.clear();
        const char* follower = type == "INSERT" ? "ATTRIB" : type == "POLYLINE" ? "VERTEX" : "";
        if (*follower != '\0') {
            while (Is(scanner_.peek(), follower)) {
                followers_.emplace_back();
                if (!collect(followers_.back())) return scannerProblem();
            }
            if (Is(scanner_.peek(), "SEQEND") && !collect(end_)) return scannerProblem();
        }
        const std::size_t begin = pairs_.front().begin;
        std::size_t end = pairs_.back().end;
        if (!followers_.empty()) end = followers_.back().back().end;
        if (!end_.empty()) end = end_.back().end;
        if (record == kNullId) return true;  // given back as it was

        ReadEntity read;
        if (!entities_.read(pairs_, followers_, end_, read)) return false;
        // An entity of the ENTITIES section marked as paper space belongs to the active layout.
        if (read.paperSpace && record == db_.modelSpaceId()) record = db_.ensureBlock(kPaperSpace);
        Entity* placed = read.entity.get();
        const ObjectId id = db_.addEntity(record, std::move(read.entity));
        source_.handles[id] = read.handle;
        if (!end_.empty()) source_.endHandles[id] = read.endHandle;
        if (auto* reference = dynamic_cast<SimBlockReference*>(placed)) {
            std::vector<ObjectId> attributeIds;
            for (std::size_t k = 0; k < read.attributes.size(); ++k) {
                const ObjectId attributeId = db_.addObject(std::move(read.attributes[k]));
                source_.handles[attributeId] = read.attributeHandles[k];
                attributeIds.push_back(attributeId);
            }
            reference->setAttributeIds(std::move(attributeIds));
        }
        special(Segment::Kind::Entity, begin, end, id, record);
        return true;
    }

    Problems problems_;
    SimDatabase& db_;
    DxfSource& source_;
    PairScanner scanner_;
    EntityReader entities_;
    std::size_t rawStart_ = 0;
    std::string version_;
    std::string codePage_;
    std::uint64_t handSeed_ = 0;
    bool handSeedSeen_ = false;
    int handling_ = 0;
    bool sawMarkers_ = false;
    bool sawHandles_ = false;
    bool inHeader_ = false;
    bool codecReady_ = false;
    bool sawEntities_ = false;
    bool entitiesPlaced_ = false;
    std::uint64_t maxHandle_ = 0;
    std::vector<Pair> pairs_;
    std::vector<std::vector<Pair>> followers_;
    std::vector<Pair> end_;
};

}  // namespace
}  // namespace dxf

bool ReadDxf(std::string bytes, const std::string& label, SimDatabase& db, std::string& error) {
    auto source = std::make_unique<dxf::DxfSource>();
    source->bytes = std::move(bytes);
    // An entity takes a hundred bytes or more: room for them up front spares the rehashing.
    const std::size_t expected = source->bytes.size() / 128;
    db.reserveObjects(expected);
    source->handles.reserve(expected);
    source->segments.reserve(expected);
    dxf::Reader reader(label, db, *source, error);
    if (!reader.read()) return false;
    for (ObjectId id : db.layerTable().recordIds()) source->layersRead.insert(id);
    db.setSourceFile(std::move(source));
    return true;
}

std::unique_ptr<SimDatabase> LoadDxf(std::string bytes, const std::string& label,
                                     std::string& error) {
    auto db = std::make_unique<SimDatabase>();
    if (!ReadDxf(std::move(bytes), label, *db, error)) return nullptr;
    return db;
}

}  // namespace velmarin::host::sim
