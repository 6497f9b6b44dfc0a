#include <string>

#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "commands/SaveFlow.h"
#include "host/Host.h"
#include "util/FixedTexts.h"
#include "util/Text.h"

namespace velmarin::commands {

// Extracts the BOM table the user picks into the BOM detail file beside the current drawing.
void savebom(VordClient& vord) {
    if (!vord.EnsureLoggedIn()) return;
    if (!host::installed()) return;

    host::Host& cad = host::current();
    host::Document* document = cad.documentManager().curDocument();
    if (document == nullptr) return;  // the last drawing was closed: nothing to extract from
    const std::string bomPath =
        text::ReplaceExtension(document->fileName(), texts::kBomFileExtension);

    host::SelectionSet selection;
    if (cad.ssget(nullptr, nullptr, nullptr, selection) != host::RTNORM) return;
    ExtractDetailFile(selection, bomPath);
}

}  // namespace velmarin::commands
