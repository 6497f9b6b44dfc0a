#include "PrintSpies.h"

namespace velmarin::testing {
namespace {

// Not database-resident, so closing it deletes it; it closes the real table with it.
class SpyLayerTable : public host::LayerTable {
  public:
    SpyLayerTable(host::LayerTable* real, SpyDatabase& db) : real_(real), db_(db) {}
    ~SpyLayerTable() override { real_->close(); }
    bool has(const std::string& name) const override { return real_->has(name); }
    host::ErrorStatus add(host::LayerTableRecord* record, host::ObjectId& id) override {
        db_.addedLayers.push_back({record->getName(), record->isFrozen(), record->isOff(),
                                   record->VPDFLT(), record->isLocked()});
        return real_->add(record, id);
    }

  private:
    host::LayerTable* real_;
    SpyDatabase& db_;
};

}  // namespace

host::ErrorStatus SpyDatabase::getLayerTable(host::LayerTable*& table, host::OpenMode mode) {
    if (failLayerTable) return host::eCannotOpen;
    host::LayerTable* real = nullptr;
    const host::ErrorStatus status = inner->getLayerTable(real, mode);
    if (status != host::eOk) return status;
    table = new SpyLayerTable(real, *this);
    return host::eOk;
}

}  // namespace velmarin::testing
