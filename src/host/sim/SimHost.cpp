#include "host/sim/SimHost.h"

#include <algorithm>
#include <cstring>

#include "host/sim/DrawingFile.h"
#include "host/sim/database/SymbolName.h"

namespace velmarin::host::sim {

SimHost::SimHost(PathResolver resolver) : resolver_(std::move(resolver)) {
    if (!resolver_) resolver_ = [](const std::string& path) { return path; };
}

SimHost::~SimHost() = default;

// --- Documents

SimDocument* SimHost::findDocument(const std::string& path) {
    for (auto& document : documents_) {
        if (SameName(document->fileName(), path)) return document.get();
    }
    const std::string file = resolver_(path);
    for (auto& document : documents_) {
        if (!file.empty() && document->filePath() == file) return document.get();
    }
    return nullptr;
}

SimDocument* SimHost::owning(const Document* document) {
    for (auto& owned : documents_) {
        if (owned.get() == document) return owned.get();
    }
    return nullptr;
}

ErrorStatus SimHost::openDocument(const std::string& path, std::string& error) {
    if (SimDocument* open = findDocument(path)) {
        makeCurrent(open);
        return eOk;
    }
    const std::string file = resolver_(path);
    auto db = std::make_unique<SimDatabase>();
    const ErrorStatus status = LoadDrawingFile(file, path, *db, error);
    if (status != eOk) {
        lastError_ = error;
        return status;
    }
    db->setSaveHandler([this](SimDatabase& database, const std::string& target, bool as2004) {
        return saveDatabase(database, target, as2004);
    });
    documents_.push_back(std::make_unique<SimDocument>(path, file, std::move(db)));
    SimDocument* document = documents_.back().get();
    makeCurrent(document);
    if (onOpened_) onOpened_(*document);
    return eOk;
}

bool SimHost::openDrawing(const std::string& path, std::string& error) {
    return openDocument(path, error) == eOk;
}

Document& SimHost::newDrawing(const std::string& name) {
    auto db = std::make_unique<SimDatabase>();
    db->setSaveHandler([this](SimDatabase& database, const std::string& target, bool as2004) {
        return saveDatabase(database, target, as2004);
    });
    documents_.push_back(std::make_unique<SimDocument>(name, std::string(), std::move(db)));
    SimDocument* document = documents_.back().get();
    makeCurrent(document);
    // A created document is loaded as an opened one is: the host tells the applications.
    if (onOpened_) onOpened_(*document);
    return *document;
}

bool SimHost::activate(const std::string& fileName) {
    SimDocument* document = findDocument(fileName);
    if (document == nullptr) return false;
    makeCurrent(document);
    return true;
}

bool SimHost::closeCurrent() {
    if (current_ == nullptr) return false;
    closeDocument(current_);
    return true;
}

void SimHost::makeCurrent(SimDocument* document) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), document),
                      activation_.end());
    activation_.push_back(document);
    current_ = document;
}

void SimHost::closeDocument(SimDocument* document) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), document),
                      activation_.end());
    if (current_ == document) current_ = activation_.empty() ? nullptr : activation_.back();
    const auto it = std::find_if(documents_.begin(), documents_.end(),
                                 [&](const auto& owned) { return owned.get() == document; });
    if (it == documents_.end()) return;
    if (document->simDatabase().openObjectCount() > 0) {
        retired_.push_back(document->releaseDatabase());
    }
    documents_.erase(it);
}

bool SimHost::exportCurrent(const std::string& path, std::string& error) {
    if (current_ == nullptr) {
        error = path + ": no drawing is open";
        return false;
    }
    return writeDrawing(current_->simDatabase(), path, error);
}

bool SimHost::writeDrawing(SimDatabase& db, const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "a drawing cannot be saved without a file name";
        return false;
    }
    if (saveShouldFail(path)) {
        error = path + ": the file is locked";
        return false;
    }
    return SaveDrawingFile(db, resolver_(path), path, error);
}

ErrorStatus SimHost::saveDatabase(SimDatabase& db, const std::string& path, bool as2004) {
    std::string error;
    const bool written = writeDrawing(db, path, error);
    saveLog_.push_back({path, as2004, written});
    if (!written) {
        lastError_ = error;
        return path.empty() ? eInvalidInput : eFileAccessErr;
    }
    // The host names the document after the file it was last saved as.
    for (auto& document : documents_) {
        if (&document->simDatabase() == &db) document->rename(path, resolver_(path));
    }
    return eOk;
}

void SimHost::queuePick(bool all) { picks_.push_back(all); }

void SimHost::setDocumentOpenedListener(DocumentListener listener) {
    onOpened_ = std::move(listener);
}

void SimHost::setCommandLineListener(TextListener listener) {
    onCommandLine_ = std::move(listener);
}

int SimHost::openObjectCount() const {
    int count = 0;
    for (const auto& document : documents_) {
        count += document->simDatabase().openObjectCount();
    }
    for (const auto& db : retired_) count += db->openObjectCount();
    return count;
}

void SimHost::failSavesTo(const std::string& path) { failingSaves_.push_back(path); }

bool SimHost::saveShouldFail(const std::string& path) const {
    const std::string file = resolver_(path);
    for (const std::string& failing : failingSaves_) {
        if (SameName(failing, path) || resolver_(failing) == file) return true;
    }
    return false;
}

// --- Host

Database* SimHost::workingDatabase() {
    return current_ != nullptr ? &current_->simDatabase() : nullptr;
}

void SimHost::unlockApplication(void*) { ++unlockRequests_; }

void SimHost::registerAppMDIAware(void*) { ++mdiAwareRequests_; }

int SimHost::ssget(const char* mode, const Point3* first, const Point3* second,
                   SelectionSet& selection) {
    selection.names.clear();
    if (mode == nullptr) {
        // The user's pick: answered from the queue; nothing queued is a cancel.
        const bool all = !picks_.empty() && picks_.front();
        if (!picks_.empty()) picks_.pop_front();
        if (!all) return RTCAN;
        if (current_ == nullptr) return RTERROR;
        selection.names = current_->simDatabase()
                              .peekAs<SimBlockTableRecord>(current_->simDatabase().modelSpaceId())
                              ->entityIds();
        return selection.names.empty() ? RTERROR : RTNORM;
    }
    if (std::strcmp(mode, "W") != 0 || first == nullptr || second == nullptr) return RTERROR;
    if (current_ == nullptr) return RTERROR;
    const double xmin = std::min(first->x, second->x);
    const double xmax = std::max(first->x, second->x);
    const double ymin = std::min(first->y, second->y);
    const double ymax = std::max(first->y, second->y);
    SimDatabase& db = current_->simDatabase();
    for (ObjectId id : db.peekAs<SimBlockTableRecord>(db.modelSpaceId())->entityIds()) {
        const auto* entity = db.peekAs<Entity>(id);
        Extents box;
        if (entity == nullptr || entity->getGeomExtents(box) != eOk) continue;
        if (box.minPoint.x >= xmin && box.maxPoint.x <= xmax && box.minPoint.y >= ymin &&
            box.maxPoint.y <= ymax) {
            selection.names.push_back(id);
        }
    }
    return selection.names.empty() ? RTERROR : RTNORM;
}

Text* SimHost::newText() { return new SimText(); }

void SimHost::printf(const std::string& text) {
    commandLine_.push_back(text);
    if (onCommandLine_) onCommandLine_(text);
}

// --- DocumentManager

Document* SimHost::curDocument() { return current_; }

Document* SimHost::mdiActiveDocument() { return current_; }

std::vector<Document*> SimHost::documents() {
    std::vector<Document*> list;
    for (auto& document : documents_) list.push_back(document.get());
    return list;
}

ErrorStatus SimHost::appContextOpenDocument(const std::string& path) {
    std::string error;
    return openDocument(path, error);
}

ErrorStatus SimHost::appContextCloseDocument(Document* document) {
    SimDocument* owned = owning(document);
    if (owned == nullptr) return eInvalidInput;
    closeDocument(owned);
    return eOk;
}

ErrorStatus SimHost::activateDocument(Document* document) {
    SimDocument* owned = owning(document);
    if (owned == nullptr) return eInvalidInput;
    makeCurrent(owned);
    return eOk;
}

void SimHost::setDefaultFormatForSave(int format) { defaultSaveFormat_ = format; }

// --- CommandStack

ErrorStatus SimHost::addCommand(const std::string& group, const std::string& globalName,
                                const std::string& localName, int flags, CommandFunction function) {
    if (function == nullptr || globalName.empty()) return eInvalidInput;
    for (const auto& command : commands_) {
        if (SameName(command.group, group) && SameName(command.globalName, globalName)) {
            return eDuplicateRecordName;
        }
    }
    commands_.push_back(
        {group, globalName, localName.empty() ? globalName : localName, flags, function});
    return eOk;
}

ErrorStatus SimHost::removeCmd(const std::string& group, const std::string& globalName) {
    const auto it = std::find_if(commands_.begin(), commands_.end(), [&](const auto& command) {
        return SameName(command.group, group) && SameName(command.globalName, globalName);
    });
    if (it == commands_.end()) return eKeyNotFound;
    commands_.erase(it);
    return eOk;
}

ErrorStatus SimHost::removeGroup(const std::string& group) {
    const auto before = commands_.size();
    commands_.erase(
        std::remove_if(commands_.begin(), commands_.end(),
                       [&](const auto& command) { return SameName(command.group, group); }),
        commands_.end());
    return commands_.size() == before ? eKeyNotFound : eOk;
}

const RegisteredCommand* SimHost::findCommand(const std::string& name) const {
    // The group registered last is searched first, as the host does.
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it) {
        if (SameName(it->localName, name) || SameName(it->globalName, name)) return &*it;
    }
    return nullptr;
}

}  // namespace velmarin::host::sim
