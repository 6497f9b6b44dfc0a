#pragma once
// The GBK bytes of UTF-8 source text, for tests that write the system's texts in Chinese.

#include <gtest/gtest.h>

#include <string>

#include "platform/Encoding.h"

namespace velmarin::testing {

inline std::string G(const std::string& utf8) {
    std::string gbk;
    EXPECT_TRUE(platform::Utf8ToGbk(utf8, gbk)) << utf8;
    return gbk;
}

}  // namespace velmarin::testing
