#pragma once
// The column titles of the parts list, from the column-title template.

#include "bom/BomTypes.h"

namespace velmarin::bom {

// The 18 titles in kind order from section "TABLE" of the column-title template; a missing key,
// or a missing template, gives an empty title.
ColumnTitles ReadColumnTitles();

}  // namespace velmarin::bom
