#pragma once
// Writing a file so that a crash or a full disk leaves either the old file or the new one: the
// bytes go to a temporary file in the target's folder, which is renamed over the target only
// when everything was written. The new file keeps the old file's permissions.

#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/Faults.h"

namespace velmarin::platform::posix {

class AtomicFile : public OutputFile {
  public:
    // Null when the temporary file cannot be created (a missing folder, no permission).
    static std::unique_ptr<AtomicFile> Create(const std::string& target, Faults& faults);
    ~AtomicFile() override;

    bool write(const char* data, std::size_t size) override;
    bool commit() override;

    // The status of the file as it was renamed over the target (after a successful commit).
    const struct stat& committedStatus() const { return status_; }

  private:
    AtomicFile(std::string target, std::string temporary, int fd, Faults& faults);

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    Faults& faults_;
    bool failed_ = false;
    bool committed_ = false;
    struct stat status_ {};
};

// Replaces (or creates) `target` with `bytes`; on success `status` describes the new file.
bool ReplaceFile(const std::string& target, const std::string& bytes, Faults& faults,
                 struct stat* status);

// A file Windows would call read-only: no write permission for anyone, or none for this process.
// Such a file can be neither replaced nor deleted.
bool IsReadOnly(const std::string& path);

// The whole content of a regular file; false when it is missing or cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents, struct stat* status = nullptr);

}  // namespace velmarin::platform::posix
