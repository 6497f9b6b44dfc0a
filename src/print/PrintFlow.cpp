#include "print/PrintFlow.h"

#include <string>

#include "host/Host.h"
#include "platform/Platform.h"
#include "print/FrameCorner.h"
#include "print/PrintFlowFile.h"
#include "print/PrintInfoText.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"

namespace velmarin::print {
namespace {

// The plug-in names no text style: the host's current style applies.
constexpr host::ObjectId kPrintTextStyle = host::kNullId;

}  // namespace

void ApplyPrintFlow() {
    if (!host::installed()) return;
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr) return;

    const std::string path = document->fileName() + kPrintFlowSuffix;
    if (!util::FileExists(path)) return;

    // Without a frame corner nothing can be placed; the file stays for the next load.
    host::Point3 corner;
    if (!FindFrameCorner(corner)) return;

    std::string contents;
    if (!platform::current().readFile(path, contents)) {
        // Possibly still being written by the VORD side: kept, so that the next load applies it.
        util::ShowMessage(std::string(texts::kReadPrintFileFailed) + "\r\n" + path);
        return;
    }
    for (const PrintFlowEntry& entry : ParsePrintFlowFile(contents, corner)) {
        AddPrintInfoText(entry.text, entry.position, entry.height, entry.fitLength, kPrintTextStyle,
                         entry.widthMode);
    }

    // Deleting the file is what makes the stamping happen once.
    if (!platform::current().deleteFile(path)) util::ShowMessage(texts::kDeletePrintFileFailed);
}

}  // namespace velmarin::print
