#include "platform/posix/FolderIndex.h"

#include <dirent.h>

#include "platform/FileText.h"
#include "platform/profile/ProfileText.h"

namespace velmarin::platform::posix {
namespace {

bool Before(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// File times come from the kernel's coarse clock; so does this.
struct timespec CoarseNow() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string Child(const std::string& folder, const std::string& name) {
    return (folder == "/" ? "" : folder) + "/" + name;
}

}  // namespace

std::string GbkSpelling(const std::string& name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) return LineAsGbk(name);
    }
    return name;  // ASCII: one spelling
}

bool FolderIndex::Stamp::operator==(const Stamp& other) const {
    return device == other.device && inode == other.inode &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<FolderIndex::Stamp> FolderIndex::StampOf(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
}

void FolderIndex::Insert(Folder& index, const std::string& name) {
    index.names[profile::FoldCase(name)].insert({false, name});
    const std::string gbk = GbkSpelling(name);
    if (gbk != name) index.names[profile::FoldCase(gbk)].insert({true, name});
}

void FolderIndex::Erase(Folder& index, const std::string& name) {
    const auto erase = [&index](const std::string& key, bool utf8, const std::string& entry) {
        const auto found = index.names.find(key);
        if (found == index.names.end()) return;
        found->second.erase({utf8, entry});
        if (found->second.empty()) index.names.erase(found);
    };
    erase(profile::FoldCase(name), false, name);
    const std::string gbk = GbkSpelling(name);
    if (gbk != name) erase(profile::FoldCase(gbk), true, name);
}

FolderIndex::Folder* FolderIndex::read(const std::string& folder, const Stamp& stamp) {
    // Taken before reading: a change made while the folder is read counts as possibly unseen.
    const struct timespec started = CoarseNow();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        folders_.erase(folder);
        return nullptr;
    }
    ++folderReads_;
    Folder fresh;
    fresh.stamp = stamp;
    fresh.readAt = started;
    fresh.racy = !Before(stamp.modified, started) || !Before(stamp.changed, started);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") Insert(fresh, name);
    }
    ::closedir(dir);
    Folder& index = folders_[folder];
    index = std::move(fresh);
    return &index;
}

FolderIndex::Folder* FolderIndex::current(const std::string& folder) {
    const auto stamp = StampOf(folder);
    if (!stamp) {
        folders_.erase(folder);
        return nullptr;
    }
    const auto known = folders_.find(folder);
    if (known != folders_.end() && known->second.stamp == *stamp) return &known->second;
    return read(folder, *stamp);
}

std::optional<std::string> FolderIndex::find(const std::string& folder, const std::string& name) {
    const std::string path = folder.empty() ? "/" : folder;
    const std::string key = profile::FoldCase(name);
    for (int attempt = 0; attempt < 2; ++attempt) {
        Folder* index = current(path);
        if (index == nullptr) return std::nullopt;
        const auto found = index->names.find(key);
        if (found != index->names.end()) {
            const std::string& best = found->second.begin()->second;
            if (Exists(Child(path, best))) return best;
        } else if (!index->racy) {
            return std::nullopt;
        }
        if (attempt == 0) read(path, index->stamp);  // stale: an entry went, or one may have come
    }
    return std::nullopt;
}

FolderIndex::Folder* FolderIndex::afterOwnChange(const std::string& folder) {
    const std::string path = folder.empty() ? "/" : folder;
    const auto known = folders_.find(path);
    if (known == folders_.end()) return nullptr;
    const auto stamp = StampOf(path);
    if (!stamp) {
        folders_.erase(known);
        return nullptr;
    }
    Folder& index = known->second;
    index.stamp = *stamp;
    index.racy = false;  // the change just seen is the platform's own
    return &index;
}

void FolderIndex::added(const std::string& folder, const std::string& name) {
    if (Folder* index = afterOwnChange(folder)) Insert(*index, name);
}

void FolderIndex::removed(const std::string& folder, const std::string& name) {
    if (Folder* index = afterOwnChange(folder)) Erase(*index, name);
}

}  // namespace velmarin::platform::posix
