#pragma once
// Model space of the working database, opened for read; the block table is closed again before
// the record is handed out.

#include "host/Host.h"

namespace velmarin {

inline host::Opened<host::BlockTableRecord> OpenModelSpace() {
    host::Database* database = host::installed() ? host::current().workingDatabase() : nullptr;
    if (database == nullptr) return {};
    host::ObjectId spaceId = host::kNullId;
    {
        host::BlockTable* raw = nullptr;
        if (database->getBlockTable(raw, host::OpenMode::ForRead) != host::eOk || raw == nullptr)
            return {};
        host::Opened<host::BlockTable> table(raw);
        if (table->getAt(host::kModelSpace, spaceId) != host::eOk) return {};
    }
    return host::Opened<host::BlockTableRecord>(
        host::openAs<host::BlockTableRecord>(*database, spaceId, host::OpenMode::ForRead));
}

}  // namespace velmarin
