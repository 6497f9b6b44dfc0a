#include "host/Objects.h"

namespace velmarin::host {

ErrorStatus DbObject::close() {
    if (owner_ != nullptr) return owner_->closeObject(this);
    delete this;
    return eOk;
}

}  // namespace velmarin::host
