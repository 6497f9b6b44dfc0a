#include "Shown.h"

#include "platform/Encoding.h"

namespace velmarin::inspect {

std::string Shown(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

}  // namespace velmarin::inspect
