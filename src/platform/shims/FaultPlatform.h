#pragma once
// Fault injection for reliability tests: a platform that forwards to another and, on demand,
// fails creations, writes, commits and profile writes, runs out of disk space, or ends the whole
// process at its k-th file-system operation, as a crash would. It counts the operations and the
// bytes written. A failed write never touches its target: the platform underneath discards the
// temporary file.

#include <cstdint>
#include <optional>

#include "platform/shims/ForwardingPlatform.h"

namespace velmarin::platform::shims {

struct Faults {
    int failProfileWrites = 0;         // the next N profile writes fail (counted down)
    bool failCreateFile = false;       // createFile returns null
    bool failCommit = false;           // no new file may replace its target
    bool failCreateDirectory = false;  // createDirectory fails
    // Bytes that can still be written, across all files; a write beyond them fails as on a full
    // disk. Nothing means unlimited.
    std::optional<std::uint64_t> diskSpace;
    // The process ends at once (_exit, nothing flushed, no destructor run) instead of making this
    // operation (counting from 1). Nothing means never.
    std::optional<std::uint64_t> endAtOperation;
};

// The exit status of a process that a Faults::endAtOperation ended.
inline constexpr int kEndedByFault = 86;

class FaultPlatform : public ForwardingPlatform {
  public:
    using ForwardingPlatform::ForwardingPlatform;

    Faults& faults() { return faults_; }
    // File-system operations made so far: profile reads and writes, lookups, folder creation,
    // deletion, creation, each write and commit of a file, reads, the end of a commit group.
    std::uint64_t operations() const { return operations_; }
    std::uint64_t bytesWritten() const { return bytesWritten_; }

    std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, std::uint32_t bufferSize,
                                   const std::string& file) override;
    bool writeProfileString(const char* section, const char* key, const char* value,
                            const std::string& file) override;
    bool findFirstFile(const std::string& pattern) override;
    bool createDirectory(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    std::unique_ptr<OutputFile> createFile(const std::string& path) override;
    bool readFile(const std::string& path, std::string& contents) override;
    bool endCommitGroup() override;

    // One more file-system operation; ends the process when it is the one asked for.
    void operation();
    // Takes `size` bytes of the disk; false (and the disk full from then on) when they are not
    // there.
    bool takeSpace(std::uint64_t size);

  private:
    Faults faults_;
    std::uint64_t operations_ = 0;
    std::uint64_t bytesWritten_ = 0;
};

}  // namespace velmarin::platform::shims
