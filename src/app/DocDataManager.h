#pragma once
// Per-document data of the application. No command keeps any, so the map stays empty; the
// manager only forgets a document the host is about to destroy, as the host's document reactor
// would tell it.

#include <map>

#include "host/Host.h"

namespace velmarin::app {

struct CDocData {};

class DocDataManager {
  public:
    void DocumentToBeDestroyed(const host::Document* document) { data_.erase(document); }
    bool empty() const { return data_.empty(); }

  private:
    std::map<const host::Document*, CDocData> data_;
};

// Lives as long as the module.
DocDataManager& DocData();

}  // namespace velmarin::app
