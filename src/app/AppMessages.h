#pragma once
// The application messages the host sends the module's entry, and the results it expects.

namespace velmarin::app {

// Results the host expects from a message handler.
inline constexpr int kRetOk = 0;
inline constexpr int kRetError = 3;

enum AppMessage : int {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kLastMessage = 15,  // codes above it are not the application's
};

}  // namespace velmarin::app
