#pragma once
// The host emulator: an in-memory CAD host with documents, drawing databases, selection, the
// command stack and the command line, behind the host seam. Drawings are loaded from and saved
// to the emulator's drawing files (DrawingFile.h).

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/sim/SimDocument.h"

namespace velmarin::host::sim {

class SimDatabase;
class SimDocument;

// One save of a database, as the host was asked for it.
struct SaveRecord {
    std::string path;
    bool format2004 = false;  // zcdbSaveAs2004 rather than saveAs
    bool written = false;
};

struct RegisteredCommand {
    std::string group;
    std::string globalName;
    std::string localName;
    int flags = 0;
    CommandFunction function = nullptr;
};

class SimHost : public Host, public DocumentManager, public CommandStack {
  public:
    // Maps a Windows path (or a POSIX one) onto the file system.
    using PathResolver = std::function<std::string(const std::string&)>;
    using DocumentListener = std::function<void(Document&)>;
    using TextListener = std::function<void(const std::string&)>;

    explicit SimHost(PathResolver resolver);
    ~SimHost() override;

    // --- What the user does (the emulator program's script verbs)
    // Opens the drawing file at `path`, makes it current and reports it to the document listener.
    // Errors (missing or malformed file) go to `error` and leave the documents as they were. A
    // drawing already open (same file name ignoring case, or the same file) is made current and
    // not reported again.
    bool openDrawing(const std::string& path, std::string& error);
    // A new, never-saved drawing named `name` becomes current and is reported to the listener,
    // as the host loads every document it creates.
    Document& newDrawing(const std::string& name);
    bool activate(const std::string& fileName);  // ignoring letter case
    // The document that was current before becomes current again, or none is.
    bool closeCurrent();
    bool exportCurrent(const std::string& path, std::string& error);
    // The answer to the next interactive selection: every model-space entity, or a cancel.
    void queuePick(bool all);

    // --- What the emulator program and tests observe
    void setDocumentOpenedListener(DocumentListener listener);
    void setCommandLineListener(TextListener listener);
    // Objects opened and not closed yet, over every open document.
    int openObjectCount() const;
    const std::vector<RegisteredCommand>& registeredCommands() const { return commands_; }
    const RegisteredCommand* findCommand(const std::string& name) const;  // ignoring case
    int defaultSaveFormat() const { return defaultSaveFormat_; }
    int unlockRequests() const { return unlockRequests_; }
    int mdiAwareRequests() const { return mdiAwareRequests_; }
    // Documents whose database saveAs shall fail (a locked or read-only target), by path.
    void failSavesTo(const std::string& path);
    const std::vector<std::string>& commandLine() const { return commandLine_; }
    // Every save asked of a database, in order.
    const std::vector<SaveRecord>& saveLog() const { return saveLog_; }
    // Why the last failed open or save failed (one line naming the file).
    const std::string& lastError() const { return lastError_; }
    SimDocument* findDocument(const std::string& path);

    // --- Host
    DocumentManager& documentManager() override { return *this; }
    Database* workingDatabase() override;
    CommandStack& commandStack() override { return *this; }
    void unlockApplication(void* packet) override;
    void registerAppMDIAware(void* packet) override;
    int ssget(const char* mode, const Point3* first, const Point3* second,
              SelectionSet& selection) override;
    void printf(const std::string& text) override;
    Text* newText() override;

    // --- DocumentManager
    Document* curDocument() override;
    Document* mdiActiveDocument() override;
    std::vector<Document*> documents() override;
    ErrorStatus appContextOpenDocument(const std::string& path) override;
    ErrorStatus appContextCloseDocument(Document* document) override;
    ErrorStatus activateDocument(Document* document) override;
    void setDefaultFormatForSave(int format) override;

    // --- CommandStack
    ErrorStatus addCommand(const std::string& group, const std::string& globalName,
                           const std::string& localName, int flags,
                           CommandFunction function) override;
    ErrorStatus removeCmd(const std::string& group, const std::string& globalName) override;
    ErrorStatus removeGroup(const std::string& group) override;

    const PathResolver& resolver() const { return resolver_; }
    bool saveShouldFail(const std::string& path) const;

  private:
    ErrorStatus openDocument(const std::string& path, std::string& error);
    ErrorStatus saveDatabase(SimDatabase& db, const std::string& path, bool as2004);
    bool writeDrawing(SimDatabase& db, const std::string& path, std::string& error);
    SimDocument* owning(const Document* document);
    void makeCurrent(SimDocument* document);
    void closeDocument(SimDocument* document);

    PathResolver resolver_;
    std::vector<std::unique_ptr<SimDocument>> documents_;
    SimDocument* current_ = nullptr;
    std::vector<SimDocument*> activation_;  // least recently current first
    // Databases of closed documents that still had objects open: kept until the host ends, so
    // that a late close() reaches a live database instead of freed memory.
    std::vector<std::unique_ptr<SimDatabase>> retired_;
    std::vector<SaveRecord> saveLog_;
    std::string lastError_;
    std::deque<bool> picks_;
    std::vector<RegisteredCommand> commands_;
    std::vector<std::string> commandLine_;
    std::vector<std::string> failingSaves_;
    DocumentListener onOpened_;
    TextListener onCommandLine_;
    int defaultSaveFormat_ = 0;
    int unlockRequests_ = 0;
    int mdiAwareRequests_ = 0;
};

}  // namespace velmarin::host::sim
