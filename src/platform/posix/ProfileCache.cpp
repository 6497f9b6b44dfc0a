#include "platform/posix/ProfileCache.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "platform/posix/AtomicFile.h"

namespace velmarin::platform::posix {
namespace {

// Longer than a kernel tick, the granularity of file timestamps on Linux file systems.
constexpr std::int64_t kWindowNs = 50'000'000;
// File systems that store whole seconds (FAT keeps two) need a wider window.
constexpr std::int64_t kCoarseWindowNs = 2'100'000'000;

std::int64_t Ns(const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           Ns(a.st_mtim) == Ns(b.st_mtim) && Ns(a.st_ctim) == Ns(b.st_ctim);
}

}  // namespace

struct timespec ProfileCache::Now() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

bool ProfileCache::Recent(const struct stat& status, const struct timespec& taken) {
    const bool coarse = status.st_mtim.tv_nsec == 0 && status.st_ctim.tv_nsec == 0;
    const std::int64_t window = coarse ? kCoarseWindowNs : kWindowNs;
    const std::int64_t changed = std::max(Ns(status.st_mtim), Ns(status.st_ctim));
    return changed + window >= Ns(taken);
}

std::list<ProfileCache::Entry>::iterator ProfileCache::find(const std::string& path) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path == path) return it;
    }
    return entries_.end();
}

void ProfileCache::put(Entry entry) {
    auto existing = find(entry.path);
    if (existing != entries_.end()) entries_.erase(existing);
    entries_.push_front(std::move(entry));
    while (entries_.size() > capacity_) entries_.pop_back();
}

ProfileCache::Loaded ProfileCache::load(const std::string& path) {
    Loaded loaded;
    struct stat now;
    if (path.empty() || ::stat(path.c_str(), &now) != 0) {
        const bool missing = path.empty() || errno == ENOENT;
        if (auto it = find(path); it != entries_.end()) entries_.erase(it);
        loaded.state = missing ? State::Missing : State::Unreadable;
        return loaded;
    }
    if (!S_ISREG(now.st_mode)) {
        loaded.state = State::Unreadable;
        return loaded;
    }

    auto cached = find(path);
    if (cached != entries_.end() && SameFile(cached->status, now) && !cached->confirmByContent) {
        entries_.splice(entries_.begin(), entries_, cached);
        loaded.state = State::Present;
        loaded.text = cached->text;
        return loaded;
    }

    const struct timespec taken = Now();
    std::string bytes;
    struct stat status;
    if (!ReadWholeFile(path, bytes, &status)) {
        loaded.state = State::Unreadable;
        return loaded;
    }
    Entry entry;
    entry.path = path;
    entry.status = status;
    entry.confirmByContent = Recent(status, taken);
    if (cached != entries_.end() && cached->text->bytes() == bytes) {
        ++rereads_;
        entry.text = cached->text;
    } else {
        ++parses_;
        entry.text = std::make_shared<const profile::ProfileText>(std::move(bytes));
    }
    loaded.state = State::Present;
    loaded.text = entry.text;
    put(std::move(entry));
    return loaded;
}

void ProfileCache::store(const std::string& path, std::shared_ptr<const profile::ProfileText> text,
                         const struct stat& status, const struct timespec& writeStarted) {
    Entry entry;
    entry.path = path;
    entry.status = status;
    entry.text = std::move(text);
    entry.confirmByContent = Recent(status, writeStarted);
    put(std::move(entry));
}

}  // namespace velmarin::platform::posix
