#include "print/PrintFlow.h"

#include <string>

#include "host/Host.h"
#include "platform/Platform.h"
#include "print/PrintFlowFile.h"
#include "util/FixedTexts.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"

namespace velmarin {
namespace {

// The plug-in names no text style: the host's current style applies.
constexpr host::ObjectId kPrintTextStyle = host::kNullId;

void ShowMessage(const std::string& text) {
    platform::current().notifier().messageBox(text, "", platform::MessageIcon::None);
}

}  // namespace

void ApplyPrintFlow() {
    TdaFunc* func = Shared().func;
    if (func == nullptr || !host::installed()) return;
    host::Document* document = host::current().documentManager().curDocument();
    if (document == nullptr) return;

    const std::string path = document->fileName() + print::kPrintFlowSuffix;
    if (func->FileExists(path) == 0) return;

    // Without a frame corner nothing can be placed; the file stays for the next load.
    host::Point3 corner;
    if (func->GetFrameCorner(corner) == 0) return;

    std::string contents;
    if (!platform::current().readFile(path, contents)) {
        // Possibly still being written by the VORD side: kept, so that the next load applies it.
        ShowMessage(std::string(texts::kReadPrintFileFailed) + "\r\n" + path);
        return;
    }

    int sectionCode = 0;
    print::LineReader lines(contents);
    for (std::string line; lines.next(line);) {
        const int header = print::SectionCodeOf(line);
        if (header >= 0) {
            sectionCode = header;
            continue;
        }
        const print::PrintFlowEntry entry =
            print::ParsePrintFlowEntry(*func, line, corner, sectionCode);
        func->AddPrintInfoText(entry.text, entry.position, entry.height, entry.fitLength,
                               kPrintTextStyle, sectionCode);
    }

    // Deleting the file is what makes the stamping happen once.
    if (!platform::current().deleteFile(path)) ShowMessage(texts::kDeletePrintFileFailed);
}

}  // namespace velmarin
