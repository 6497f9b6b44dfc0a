#include <string>

#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/Text.h"

namespace velmarin {

host::Document* TdaAutocad::FindOpenDocument(const std::string& path) {
    // Letter case is the only difference forgiven: another spelling of the same file (a mapped
    // drive, forward slashes) counts as a different drawing, as the document list reports it.
    for (host::Document* document : host::current().documentManager().documents()) {
        if (document != nullptr && text::EqualsNoCase(document->fileName(), path)) return document;
    }
    return nullptr;
}

host::Document* TdaAutocad::OpenDrawing(const std::string& path) {
    if (host::Document* open = FindOpenDocument(path)) {
        platform::current().notifier().messageBox(texts::kFileAlreadyOpen, "",
                                                  platform::MessageIcon::None);
        return open;
    }
    host::DocumentManager& documents = host::current().documentManager();
    // A failed open is not reported here: the active document stands in for the requested one.
    documents.appContextOpenDocument(path);
    return documents.mdiActiveDocument();
}

int TdaAutocad::CloseDrawing(host::Document* document) {
    if (document == nullptr) return 0;
    return host::current().documentManager().appContextCloseDocument(document) == host::eOk ? 1 : 0;
}

std::string TdaAutocad::GetCurrentFileName() {
    host::Document* document = host::current().documentManager().curDocument();
    return document == nullptr ? std::string() : document->fileName();
}

}  // namespace velmarin
