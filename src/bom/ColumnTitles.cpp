#include "bom/ColumnTitles.h"

#include <string>

#include "util/FixedTexts.h"
#include "util/IniValues.h"

namespace velmarin::bom {

ColumnTitles ReadColumnTitles() {
    ColumnTitles titles;
    titles.reserve(kColumnKinds);
    // One receiving string for every read: without the template file each read leaves it as
    // it was, so every title stays empty.
    std::string title;
    for (const ColumnKind& kind : kColumnKindTable) {
        util::ReadIniString(texts::kColumnTitleSection, kind.tableKey, title,
                            texts::kColumnTitleTemplate);
        titles.push_back(title);
    }
    return titles;
}

}  // namespace velmarin::bom
