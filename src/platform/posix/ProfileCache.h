#pragma once
// Parsed profile files kept between calls, so that the 10,000s of single-value reads of a batch
// run do not parse the same file again and again. An entry is used only while the file's device,
// inode, size, modification and change times (nanoseconds) are those it was read or written
// with. A change within the file system's timestamp granularity could keep all of them, so an
// entry whose file changed just before it was taken is confirmed against the file's bytes until
// that window has passed.

#include <sys/stat.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "platform/profile/ProfileText.h"

namespace velmarin::platform::posix {

class ProfileCache {
  public:
    enum class State { Present, Missing, Unreadable };
    struct Loaded {
        State state = State::Missing;
        std::shared_ptr<const profile::ProfileText> text;  // set when Present
    };

    explicit ProfileCache(std::size_t capacity = 16) : capacity_(capacity) {}

    Loaded load(const std::string& path);
    // Records what this process has just written; `writeStarted` is the time taken before the
    // temporary file was created.
    void store(const std::string& path, std::shared_ptr<const profile::ProfileText> text,
               const struct stat& status, const struct timespec& writeStarted);

    // Counters for tests and benchmarks.
    std::uint64_t parses() const { return parses_; }
    std::uint64_t rereads() const { return rereads_; }

    static struct timespec Now();

  private:
    struct Entry {
        std::string path;
        struct stat status {};
        std::shared_ptr<const profile::ProfileText> text;
        bool confirmByContent = false;
    };
    std::list<Entry>::iterator find(const std::string& path);
    void put(Entry entry);
    static bool Recent(const struct stat& status, const struct timespec& taken);

    std::list<Entry> entries_;  // most recently used first
    std::size_t capacity_;
    std::uint64_t parses_ = 0;
    std::uint64_t rereads_ = 0;
};

}  // namespace velmarin::platform::posix
