#pragma once
// The operating-system seam. Everything outside platform/ reaches the registry, profile files,
// the file system, libraries, message boxes, the file dialog and timers through this interface
// only. Paths are Windows paths in the ANSI code page; each implementation resolves them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmarin::platform {

enum class MessageIcon { None, Information };

// The open-file dialog of the batch run.
struct OpenFileDialogSpec {
    std::string defaultExtension;  // "dwg"
    std::string initialFileName;   // empty
    std::string filter;            // "desc|pattern|desc|pattern||"
    bool allowMultiSelect = true;
    bool hideReadOnly = true;
    std::size_t nameBufferBytes = 10000;
};

// The one notification point: whatever the system shows the user goes through it, so that a
// test or the emulator program can record it instead of showing it.
class Notifier {
  public:
    virtual ~Notifier() = default;
    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;
    // The selected full paths in selection order, or nothing when the user cancelled.
    virtual std::optional<std::vector<std::string>> openFileDialog(
        const OpenFileDialogSpec& request) = 0;
};

// A file being written. Nothing reaches the target name until commit() succeeds; destroying an
// uncommitted file discards what was written, so a failed write never replaces an old file.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool write(const char* data, std::size_t size) = 0;
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    virtual bool commit() = 0;
};

using LibraryHandle = void*;

// The Windows timer procedure: window (always null here), message, timer id, tick count.
using TimerProc = void (*)(void* window, unsigned message, std::uintptr_t timerId,
                           std::uint32_t time);

class Platform {
  public:
    virtual ~Platform() = default;

    // Registry, HKEY_LOCAL_MACHINE: a REG_SZ value read into a 260-byte buffer. A missing key or
    // value, or a value of 260 bytes or more, gives false.
    virtual bool readRegistryString(const std::string& keyPath, const std::string& valueName,
                                    std::string& value) = 0;

    // GetPrivateProfileStringA / WritePrivateProfileStringA with Windows' behaviour. A null
    // section or key has the Windows meaning (enumeration, deletion).
    virtual std::uint32_t getProfileString(const char* section, const char* key,
                                           const char* defaultValue, char* buffer,
                                           std::uint32_t bufferSize, const std::string& file) = 0;
    virtual bool writeProfileString(const char* section, const char* key, const char* value,
                                    const std::string& file) = 0;

    // File system.
    virtual bool findFirstFile(const std::string& pattern) = 0;  // an entry matches (* and ?)
    virtual bool createDirectory(const std::string& path) = 0;   // one level
    virtual bool deleteFile(const std::string& path) = 0;
    // Create or replace a file for writing, shared for reading.
    virtual std::unique_ptr<OutputFile> createFile(const std::string& path) = 0;
    virtual bool readFile(const std::string& path, std::string& contents) = 0;
    // Files replaced together (see CommitGroup). Groups nest; the outermost end replaces the
    // files and answers whether every one of them was replaced. A platform without groups
    // replaces each file at its commit.
    virtual void beginCommitGroup() {}
    virtual bool endCommitGroup() { return true; }
    // Full file name of a module loaded in this process (GetModuleHandleA + GetModuleFileNameA,
    // 2,600-byte buffer). A name that is not loaded gives the host executable's file name.
    virtual std::string moduleFileName(const std::string& moduleName) = 0;

    // Libraries. loadLibrary reports failure with the system's text for the error.
    virtual LibraryHandle loadLibrary(const std::string& path, std::string& errorText) = 0;
    virtual void* getProcAddress(LibraryHandle library, const char* name) = 0;

    // User interface.
    virtual Notifier& notifier() = 0;
    // SetTimer(NULL, id, ms, proc): returns the id the callback receives (0 on failure).
    virtual std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) = 0;
    virtual bool killTimer(void* window, std::uintptr_t id) = 0;
};

// Many files replaced as one step: while a group is open, a file's commit only flushes its new
// bytes to the disk; the files replace their targets when the group ends, and each folder is
// flushed once then. A crash part way leaves each file old or new, some of each.
class CommitGroup {
  public:
    explicit CommitGroup(Platform& platform);
    CommitGroup(const CommitGroup&) = delete;
    CommitGroup& operator=(const CommitGroup&) = delete;
    ~CommitGroup() { end(); }
    // Replaces the files committed in the group; true when every one was replaced.
    bool end();

  private:
    Platform* platform_;
};

// The platform of this process (installed by the module's host link or by a test).
Platform& current();
void install(Platform* platform);
bool installed();

}  // namespace velmarin::platform
