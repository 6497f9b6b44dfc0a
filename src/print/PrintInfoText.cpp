#include "print/PrintInfoText.h"

#include "print/PrintTextRules.h"
#include "util/FixedTexts.h"

namespace velmarin::print {
namespace {

// Creates the print-information layer unless the table has it. A new layer must be visible and
// editable whatever the host's defaults are, or the stamped texts would not print.
void EnsurePrintInfoLayer(host::LayerTable& layers) {
    if (layers.has(texts::kPrintInfoLayer)) return;
    host::Opened<host::LayerTableRecord> record(new host::LayerTableRecord());
    record->setName(texts::kPrintInfoLayer);
    record->setIsFrozen(false);
    record->setIsOff(false);
    record->setVPDFLT(false);
    record->setIsLocked(false);
    host::ObjectId id = host::kNullId;
    // A refused record is not resident; closing it deletes it.
    layers.add(record.get(), id);
}

}  // namespace

void AddPrintInfoText(const std::string& text, const host::Point3& position, int height,
                      int fitLength, host::ObjectId textStyle, int widthMode) {
    host::Database* db = host::current().workingDatabase();
    if (db == nullptr) return;

    host::Opened<host::BlockTableRecord> modelSpace;
    {
        host::BlockTable* rawBlockTable = nullptr;
        if (db->getBlockTable(rawBlockTable, host::OpenMode::ForRead) != host::eOk ||
            rawBlockTable == nullptr) {
            return;
        }
        host::Opened<host::BlockTable> blockTable(rawBlockTable);
        host::ObjectId modelSpaceId = host::kNullId;
        if (blockTable->getAt(host::kModelSpace, modelSpaceId) != host::eOk) return;
        modelSpace.reset(
            host::openAs<host::BlockTableRecord>(*db, modelSpaceId, host::OpenMode::ForWrite));
    }
    if (!modelSpace) return;

    {
        host::LayerTable* rawLayerTable = nullptr;
        if (db->getLayerTable(rawLayerTable, host::OpenMode::ForWrite) != host::eOk ||
            rawLayerTable == nullptr) {
            return;
        }
        host::Opened<host::LayerTable> layerTable(rawLayerTable);
        EnsurePrintInfoLayer(*layerTable);
    }

    host::Opened<host::Text> entity(host::current().newText());
    entity->setTextString(text);
    entity->setPosition(position);
    entity->setHeight(PrintTextHeight(height));
    if (auto factor = PrintTextWidthFactor(text.size(), fitLength, widthMode)) {
        entity->setWidthFactor(*factor);
    }
    entity->setLayer(texts::kPrintInfoLayer);
    entity->setTextStyle(textStyle);
    host::ObjectId id = host::kNullId;
    // A refused text is not resident; closing it deletes it.
    modelSpace->appendEntity(entity.get(), id);
}

}  // namespace velmarin::print
