#include <string>

#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "host/Host.h"
#include "util/Shared.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin::commands {

// Extracts the BOM table the user picks into the BOM detail file beside the current drawing.
void savebom() {
    SharedObjects& shared = Shared();
    if (shared.vord == nullptr || shared.func == nullptr) return;
    if (shared.vord->EnsureLoggedIn() == 0) return;
    if (!host::installed()) return;

    host::Host& cad = host::current();
    host::Document* document = cad.documentManager().curDocument();
    if (document == nullptr) return;  // the last drawing was closed: nothing to extract from
    const std::string bomPath = text::ReplaceExtension(document->fileName(), ".bmf");

    host::SelectionSet selection;
    if (cad.ssget(nullptr, nullptr, nullptr, selection) != host::RTNORM) return;

    TdaFunc& func = *shared.func;
    func.bomRows.clear();
    func.ResetBom();
    func.ExtractBomTable(selection, bomPath);
    if (!func.texts.empty()) func.WriteBomFile(bomPath);
}

}  // namespace velmarin::commands
