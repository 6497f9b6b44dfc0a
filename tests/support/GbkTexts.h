#pragma once
// GBK texts the BOM, batch and tree-file tests use: column titles, the drawing-name attribute and
// part names.

#include <string>

namespace velmarin::testing::gbk {

inline const std::string kDrawingName = "\xCD\xBC\xC3\xFB";  // 图名
inline const std::string kItemNo = "\xD0\xF2\xBA\xC5";       // 序号
inline const std::string kPartName = "\xC3\xFB\xB3\xC6";     // 名称
inline const std::string kQuantity = "\xCA\xFD\xC1\xBF";     // 数量
inline const std::string kRemark = "\xB1\xB8\xD7\xA2";       // 备注
inline const std::string kAssembly = "\xD7\xDC\xD7\xB0\xCD\xBC";  // 总装图
inline const std::string kShaft = "\xD6\xE1";                     // 轴
inline const std::string kBolt = "\xC2\xDD\xCB\xA8";              // 螺栓
inline const std::string kWasher = "\xB5\xE6\xC8\xA6";            // 垫圈
inline const std::string kGear = "\xB3\xDD\xC2\xD6";              // 齿轮

}  // namespace velmarin::testing::gbk
