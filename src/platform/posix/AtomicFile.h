#pragma once
// Writing a file so that a crash or a full disk leaves either the old file or the new one: the
// bytes go to a temporary file beside the file the path names (through any symbolic links, which
// stay), and it is renamed over that file only when everything was written. The new file keeps
// the old file's permissions.

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmarin::platform::posix {

// Files committed inside a commit group: flushed, waiting to be renamed over their targets.
class PendingReplacements {
  public:
    PendingReplacements() = default;
    PendingReplacements(const PendingReplacements&) = delete;
    PendingReplacements& operator=(const PendingReplacements&) = delete;
    ~PendingReplacements();

    bool open() const { return depth_ > 0; }
    void begin() { ++depth_; }
    // At the outermost end, renames every waiting file and flushes each folder once.
    bool end();
    // Takes a flushed temporary file (still open, so its name stays claimed) that is to replace
    // `target`.
    void add(int fd, std::string temporary, std::string target);

  private:
    struct Replacement {
        int fd;
        std::string temporary;
        std::string target;
    };
    bool replaceAll();

    int depth_ = 0;
    bool failed_ = false;
    std::vector<Replacement> waiting_;
};

class AtomicFile : public OutputFile {
  public:
    // Null when the temporary file cannot be created (a missing folder, no permission). With an
    // open group, the commit waits for the group's end.
    static std::unique_ptr<AtomicFile> Create(const std::string& target,
                                              PendingReplacements* group = nullptr);
    ~AtomicFile() override;

    bool write(const char* data, std::size_t size) override;
    bool commit() override;

    // The status of the file as it was renamed over the target (after a successful commit).
    const struct stat& committedStatus() const { return status_; }

  private:
    AtomicFile(std::string target, std::string temporary, int fd, PendingReplacements* group);

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    PendingReplacements* group_;
    bool failed_ = false;
    bool committed_ = false;
    struct stat status_ {};
};

// Replaces (or creates) `target` with `bytes` at once; on success `status` describes the new file.
bool ReplaceFile(const std::string& target, const std::string& bytes, struct stat* status);

// The temporary name a write of `target` uses first: the target's own name, hidden, with the
// system's suffix, so that a file left by a process that died while writing is taken over (and
// so removed) by the next write of the same file.
std::string TemporaryNameFor(const std::string& target);

// The file a path names once its symbolic links are followed (the path itself when it is none).
std::string LinkedFile(const std::string& path);

// A file Windows would call read-only: no write permission for anyone, or none for this process.
// Such a file can be neither replaced nor deleted.
bool IsReadOnly(const std::string& path);

// The whole content of a regular file; false when it is missing or cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents, struct stat* status = nullptr);

}  // namespace velmarin::platform::posix
