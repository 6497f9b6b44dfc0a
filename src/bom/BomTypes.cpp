#include "bom/BomTypes.h"

#include <iterator>

#include "util/FixedTexts.h"

namespace velmarin {

// The slot of each kind, in the order of the template's keys.
const std::array<ColumnKind, kColumnKinds> kColumnKindTable = {{
    {texts::kColumnTitleKeys[0], 0},
    {texts::kColumnTitleKeys[1], 1},
    {texts::kColumnTitleKeys[2], 7},
    {texts::kColumnTitleKeys[3], 3},
    {texts::kColumnTitleKeys[4], 4},
    {texts::kColumnTitleKeys[5], 5},
    {texts::kColumnTitleKeys[6], 6},
    {texts::kColumnTitleKeys[7], 2},
    {texts::kColumnTitleKeys[8], 8},
    {texts::kColumnTitleKeys[9], 10},
    {texts::kColumnTitleKeys[10], 11},
    {texts::kColumnTitleKeys[11], 12},
    {texts::kColumnTitleKeys[12], 13},
    {texts::kColumnTitleKeys[13], 14},
    {texts::kColumnTitleKeys[14], 15},
    {texts::kColumnTitleKeys[15], 16},
    {texts::kColumnTitleKeys[16], 17},
    {texts::kColumnTitleKeys[17], 9},
}};
static_assert(std::size(texts::kColumnTitleKeys) == kColumnKinds);

std::string& BomInfo::slot(int index) {
    return const_cast<std::string&>(static_cast<const BomInfo*>(this)->slot(index));
}

const std::string& BomInfo::slot(int index) const {
    static const std::string empty;
    switch (index) {
        case 0:
            return id;
        case 1:
            return itemNo;
        case 2:
            return material;
        case 3:
            return assemblyDrawingNo;
        case 4:
            return partDrawingNo;
        case 5:
            return partName;
        case 6:
            return specification;
        case 7:
            return quantity;
        case 8:
            return unitWeight;
        case 9:
            return remark;
        case 10:
            return description;
        case 11:
            return materialEn;
        case 12:
            return pst;
        case 13:
            return unit;
        case 14:
            return workNo;
        case 15:
            return prebuy;
        case 16:
            return materialCode;
        case 17:
            return tagNo;
        default:
            return empty;
    }
}

}  // namespace velmarin
