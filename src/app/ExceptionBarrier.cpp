#include "app/ExceptionBarrier.h"

#include <string>

#include "util/FixedTexts.h"
#include "util/Messages.h"

namespace velmarin::app {

const char* ReasonOfCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return texts::kOutOfMemory;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return texts::kUnknownError;
    }
}

void ReportEscapedException(const char* reason) noexcept {
    try {
        util::ShowMessage(std::string(texts::kCommandFailed) + reason);
    } catch (...) {
        // Without memory even for the message, or without a platform, the editor still runs on.
    }
}

}  // namespace velmarin::app
