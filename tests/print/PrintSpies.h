#pragma once
// Hosts and platforms for the print flow's failure paths: a host whose working database can
// refuse its tables and records the layers added, and a platform that cannot delete files.

#include <string>
#include <vector>

#include "host/sim/SimHost.h"
#include "support/InstalledShim.h"

namespace velmarin::testing {

struct AddedLayer {
    std::string name;
    bool frozen, off, vpdflt, locked;
};

class SpyDatabase : public host::Database {
  public:
    host::Database* inner = nullptr;
    bool failBlockTable = false;
    bool failLayerTable = false;
    std::vector<AddedLayer> addedLayers;

    host::ErrorStatus openObject(host::DbObject*& object, host::ObjectId id,
                                 host::OpenMode mode) override {
        return inner->openObject(object, id, mode);
    }
    host::ErrorStatus getBlockTable(host::BlockTable*& table, host::OpenMode mode) override {
        return failBlockTable ? host::eCannotOpen : inner->getBlockTable(table, mode);
    }
    host::ErrorStatus getLayerTable(host::LayerTable*& table, host::OpenMode mode) override;
    host::ErrorStatus saveAs(const std::string& path) override { return inner->saveAs(path); }
    host::ErrorStatus saveAs2004(const std::string& path) override {
        return inner->saveAs2004(path);
    }
};

// The emulated host with its working database seen through a SpyDatabase.
class SpyHost : public host::sim::SimHost {
  public:
    using SimHost::SimHost;
    SpyDatabase spy;

    host::Database* workingDatabase() override {
        spy.inner = SimHost::workingDatabase();
        return spy.inner != nullptr ? &spy : nullptr;
    }
};

// The installed platform, except that no file can be deleted.
class UndeletablePlatform : public InstalledShim {
  public:
    bool deleteFile(const std::string&) override { return false; }
};

}  // namespace velmarin::testing
