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

namespace velmarin::host::sim {

class SimDatabase;
class SimDocument;

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
    // Errors (missing or malformed file) go to `error` and leave the documents as they were.
    bool openDrawing(const std::string& path, std::string& error);
    // A new, never-saved drawing named `name` becomes current.
    Document& newDrawing(const std::string& name);
    bool activate(const std::string& fileName);  // ignoring letter case
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

    // --- Host
    DocumentManager& documentManager() override { return *this; }
    Database* workingDatabase() override;
    CommandStack& commandStack() override { return *this; }
    void unlockApplication(void* packet) override;
    void registerAppMDIAware(void* packet) override;
    int ssget(const char* mode, const Point3* first, const Point3* second,
              SelectionSet& selection) override;
    void printf(const std::string& text) override;

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
    void makeCurrent(SimDocument* document);

    PathResolver resolver_;
    std::vector<std::unique_ptr<SimDocument>> documents_;
    SimDocument* current_ = nullptr;
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
