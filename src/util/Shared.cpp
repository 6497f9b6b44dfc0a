#include "util/Shared.h"

namespace velmarin {

SharedObjects& Shared() {
    static SharedObjects objects;
    return objects;
}

SaveContext& SaveState() {
    static SaveContext context;
    return context;
}

}  // namespace velmarin
