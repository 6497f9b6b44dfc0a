#pragma once
// The application's four shared objects and the save context, reachable by every command. The
// application fills them at initialisation and clears them at unload; tests fill them with
// their own objects.

#include <string>

namespace velmarin {

class TdaFunc;
class TdaVORD;
class TAutoVord;
class TdaAutocad;

struct SharedObjects {
    TdaFunc* func = nullptr;
    TdaVORD* vord = nullptr;
    TAutoVord* autoVord = nullptr;
    TdaAutocad* acad = nullptr;
};

// Values carried from one step of the save commands to the next, and kept between commands.
struct SaveContext {
    std::string SavePath;
    std::string SaveReturn2;
    std::string SaveReturn3;
    std::string TreeFilePath;
};

SharedObjects& Shared();
SaveContext& SaveState();

}  // namespace velmarin
