#pragma once
// Texts of the plug-in (GBK bytes) shown to the person reading the report.

#include <string>

namespace velmarin::inspect {

// The GBK text as UTF-8.
std::string Shown(const std::string& gbk);

}  // namespace velmarin::inspect
