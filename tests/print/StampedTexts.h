#pragma once
// What the print flow left in the current drawing of the installed host.

#include <optional>
#include <string>
#include <vector>

#include "host/Host.h"

namespace velmarin::testing {

struct Stamped {
    std::string text;
    host::Point3 position;
    double height;
    std::optional<double> widthFactor;
    host::ObjectId style;
};

// The texts on the print-information layer, in model-space order.
std::vector<Stamped> StampedTexts();
bool HasLayer(const std::string& name);

}  // namespace velmarin::testing
