#pragma once
// GBK and UTF-8: tests write the system's texts in Chinese as UTF-8 source text, and the
// emulator program prints GBK texts in UTF-8.

#include <gtest/gtest.h>

#include <string>

#include "platform/Encoding.h"

namespace velmarin::testing {

inline std::string G(const std::string& utf8) {
    std::string gbk;
    EXPECT_TRUE(platform::Utf8ToGbk(utf8, gbk)) << utf8;
    return gbk;
}

inline std::string Utf8(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

}  // namespace velmarin::testing
