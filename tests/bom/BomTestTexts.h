#pragma once
// GBK texts the BOM tests use.

namespace velmarin::bomtest {

inline constexpr const char kItemNo[] = "\xD0\xF2\xBA\xC5";    // 序号
inline constexpr const char kPartName[] = "\xC3\xFB\xB3\xC6";  // 名称
inline constexpr const char kQuantity[] = "\xCA\xFD\xC1\xBF";  // 数量
inline constexpr const char kRemark[] = "\xB1\xB8\xD7\xA2";    // 备注
inline constexpr const char kBolt[] = "\xC2\xDD\xCB\xA8";      // 螺栓
inline constexpr const char kWasher[] = "\xB5\xE6\xC8\xA6";    // 垫圈

}  // namespace velmarin::bomtest
