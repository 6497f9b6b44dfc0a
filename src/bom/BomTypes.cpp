#include "bom/BomTypes.h"

namespace velmarin {

const std::array<ColumnKind, kColumnKinds> kColumnKindTable = {{
    {"ID", 0},
    {"\xD0\xF2\xBA\xC5", 1},                  // 序号
    {"\xCA\xFD\xC1\xBF", 7},                  // 数量
    {"\xD7\xDC\xCD\xBC\xBA\xC5", 3},          // 总图号
    {"\xC3\xF7\xCF\xB8\xCD\xBC\xBA\xC5", 4},  // 明细图号
    {"\xC3\xFB\xB3\xC6", 5},                  // 名称
    {"\xB9\xE6\xB8\xF1", 6},                  // 规格
    {"\xB2\xC4\xD6\xCA", 2},                  // 材质
    {"\xB5\xA5\xD6\xD8", 8},                  // 单重
    {"DESCRIPTION", 10},
    {"MAT'L", 11},
    {"PST", 12},
    {"Unit", 13},
    {"WORK NO.", 14},
    {"PREBUY", 15},
    {"\xCE\xEF\xC1\xCF\xB1\xE0\xC2\xEB", 16},  // 物料编码
    {"TAG NO.", 17},
    {"\xB1\xB8\xD7\xA2", 9},  // 备注
}};

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
