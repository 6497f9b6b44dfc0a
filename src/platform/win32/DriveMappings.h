#pragma once
// The emulator program's --drive L=DIR on Windows: the letter is defined as a DOS device for the
// folder (what subst does) for as long as the program runs. Wine accepts such definitions but
// does not reach files through them; the mapping is then refused with a message, and real paths
// serve instead.

#include <string>
#include <vector>

namespace velmarin::platform::win32 {

class DriveMappings {
  public:
    DriveMappings() = default;
    DriveMappings(const DriveMappings&) = delete;
    DriveMappings& operator=(const DriveMappings&) = delete;
    ~DriveMappings();  // removes every definition it made

    // Maps drive `letter` (either case) to `folder`. Fails for a letter that is in use, and for a
    // definition through which the folder's files cannot be reached; `error` says which.
    bool map(char letter, const std::string& folder, std::string& error);

  private:
    struct Definition {
        std::string drive;   // "Q:"
        std::string target;  // the folder's full path
    };
    std::vector<Definition> defined_;
};

}  // namespace velmarin::platform::win32
