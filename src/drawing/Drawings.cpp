#include "drawing/Drawings.h"

#include <algorithm>
#include <string>
#include <vector>

#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Text.h"

namespace velmarin {

host::Document* Drawings::FindOpenDocument(const std::string& path) {
    // Letter case is the only difference forgiven: another spelling of the same file (a mapped
    // drive, forward slashes) counts as a different drawing, as the document list reports it.
    for (host::Document* document : host::current().documentManager().documents()) {
        if (document != nullptr && text::EqualsNoCase(document->fileName(), path)) return document;
    }
    return nullptr;
}

host::Document* Drawings::OpenDrawing(const std::string& path, bool* opened) {
    if (host::Document* open = FindOpenDocument(path)) {
        util::ShowMessage(texts::kFileAlreadyOpen);
        if (opened != nullptr) *opened = true;
        return open;
    }
    host::DocumentManager& documents = host::current().documentManager();
    // A failed open is not reported here: the active document stands in for the requested one.
    const bool result = documents.appContextOpenDocument(path) == host::eOk;
    if (opened != nullptr) *opened = result;
    return documents.mdiActiveDocument();
}

host::Document* Drawings::OpenForReading(const std::string& path, bool& openedHere) {
    host::DocumentManager& documents = host::current().documentManager();
    const std::vector<host::Document*> before = documents.documents();
    // Cleared however the request ends, so that a failure cannot keep later loads from stamping.
    struct Reading {
        bool& flag;
        explicit Reading(bool& f) : flag(f) { flag = true; }
        ~Reading() { flag = false; }
    };
    host::ErrorStatus status = host::eOk;
    {
        const Reading reading(openingForReading_);
        status = documents.appContextOpenDocument(path);
    }
    host::Document* active = documents.mdiActiveDocument();
    if (status != host::eOk || active == nullptr) return nullptr;
    openedHere = std::find(before.begin(), before.end(), active) == before.end();
    return active;
}

bool Drawings::CloseDrawing(host::Document* document) {
    return document != nullptr &&
           host::current().documentManager().appContextCloseDocument(document) == host::eOk;
}

std::string Drawings::GetCurrentFileName() {
    host::Document* document = host::current().documentManager().curDocument();
    return document == nullptr ? std::string() : document->fileName();
}

}  // namespace velmarin
