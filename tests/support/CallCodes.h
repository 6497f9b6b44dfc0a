#pragma once
// The client double logs each call as "code=C<TAB>param1=…"; tests that look only at which
// operations were called compare the "code=C" parts.

#include <string>
#include <vector>

namespace velmarin::testing {

inline std::vector<std::string> Codes(const std::vector<std::string>& calls) {
    std::vector<std::string> codes;
    for (const std::string& call : calls) codes.push_back(call.substr(0, call.find('\t')));
    return codes;
}

}  // namespace velmarin::testing
