#pragma once
// The CAD host seam: documents, databases, selection, the command stack and the command line.
// The plug-in reaches the host through this interface only; the emulator (host/sim) is one
// implementation, an adapter to the host SDK would be another.

#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "host/Objects.h"

namespace velmarin::host {

class Database {
  public:
    virtual ~Database() = default;
    // zcdbOpenZcDbObject: a second write-open of an object that is open is refused.
    virtual ErrorStatus openObject(DbObject*& object, ObjectId id, OpenMode mode) = 0;
    virtual ErrorStatus getBlockTable(BlockTable*& table, OpenMode mode) = 0;
    virtual ErrorStatus getLayerTable(LayerTable*& table, OpenMode mode) = 0;
    // ZcDbDatabase::saveAs and zcdbSaveAs2004: 0 when the file was written.
    virtual ErrorStatus saveAs(const std::string& path) = 0;
    virtual ErrorStatus saveAs2004(const std::string& path) = 0;
};

class Document {
  public:
    virtual ~Document() = default;
    // The full path of a saved drawing, the bare name of one never saved.
    virtual std::string fileName() const = 0;
    virtual Database* database() = 0;
};

class DocumentManager {
  public:
    virtual ~DocumentManager() = default;
    virtual Document* curDocument() = 0;
    virtual Document* mdiActiveDocument() = 0;
    virtual std::vector<Document*> documents() = 0;  // the document iterator, in host order
    // Requests made outside any command (application context).
    virtual ErrorStatus appContextOpenDocument(const std::string& path) = 0;
    virtual ErrorStatus appContextCloseDocument(Document* document) = 0;
    virtual ErrorStatus activateDocument(Document* document) = 0;
    virtual void setDefaultFormatForSave(int format) = 0;
};

using CommandFunction = void (*)();

class CommandStack {
  public:
    virtual ~CommandStack() = default;
    virtual ErrorStatus addCommand(const std::string& group, const std::string& globalName,
                                   const std::string& localName, int flags,
                                   CommandFunction function) = 0;
    virtual ErrorStatus removeCmd(const std::string& group, const std::string& globalName) = 0;
    virtual ErrorStatus removeGroup(const std::string& group) = 0;
};

// A selection set: the entity names (here, object ids) of the selected entities.
struct SelectionSet {
    std::vector<ObjectId> names;
};

class Host {
  public:
    virtual ~Host() = default;
    virtual DocumentManager& documentManager() = 0;
    // The database of the current drawing; null when no document is open.
    virtual Database* workingDatabase() = 0;
    virtual CommandStack& commandStack() = 0;
    // The dynamic linker: the packet is the one the host passed with the initialisation message.
    virtual void unlockApplication(void* packet) = 0;
    virtual void registerAppMDIAware(void* packet) = 0;

    // zcedSSGet: mode "W" with two corners selects what lies entirely inside the window; a null
    // mode lets the user pick. RTNORM when a selection was made.
    virtual int ssget(const char* mode, const Point3* first, const Point3* second,
                      SelectionSet& selection) = 0;
    // zcutPrintf on the command line.
    virtual void printf(const std::string& text) = 0;
    // A new text entity of the host's class, in no database yet: the caller appends it to a
    // block table record or closes it.
    virtual Text* newText() = 0;
};

// zcedSSLength, zcedSSName and zcdbGetObjectId over a selection set.
int ssLength(const SelectionSet& selection, long& length);
int ssName(const SelectionSet& selection, long index, ObjectId& name);
ErrorStatus getObjectId(ObjectId& id, ObjectId name);

// The host of this process (installed by the module's host link or by a test).
Host& current();
void install(Host* host);
bool installed();

// Open an object and test its class in one step: null when it cannot be opened or is not a T.
template <typename T>
T* openAs(Database& db, ObjectId id, OpenMode mode) {
    DbObject* object = nullptr;
    if (db.openObject(object, id, mode) != eOk || object == nullptr) return nullptr;
    if (auto* typed = dynamic_cast<T*>(object)) return typed;
    object->close();
    return nullptr;
}

// Closes an opened object when it goes out of scope.
template <typename T>
class Opened {
  public:
    Opened() = default;
    explicit Opened(T* object) : object_(object) {}
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;
    Opened(Opened&& other) noexcept : object_(other.release()) {}
    Opened& operator=(Opened&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~Opened() { reset(); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T* release() {
        T* object = object_;
        object_ = nullptr;
        return object;
    }
    void reset(T* object = nullptr) {
        if (object_ != nullptr) object_->close();
        object_ = object;
    }

  private:
    T* object_ = nullptr;
};

}  // namespace velmarin::host
