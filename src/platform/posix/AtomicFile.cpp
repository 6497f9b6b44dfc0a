#include "platform/posix/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/ReplacingFile.h"

namespace velmarin::platform::posix {
namespace {

mode_t CreationMask() {
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SyncToDisk(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// A folder that cannot be opened or synchronised (some file systems refuse) changes nothing:
// the rename has happened, and the file is as durable as that file system makes it.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    SyncToDisk(fd);
    ::close(fd);
}

}  // namespace

bool IsReadOnly(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

namespace {

// Something other than a file stands at the path (a folder, a device): no file can be made there.
bool IsNoFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

}  // namespace

namespace {

constexpr char kTemporarySuffix[] = ".velmarin-new";
// Files a group keeps open (and so claimed) at most before it replaces them early: a batch of
// thousands of detail files stays within the process's file limit.
constexpr std::size_t kMaxWaitingFiles = 256;
constexpr int kMaxLinkHops = 40;  // as the kernel's own limit

// Opens and locks the temporary file of `target` by its own name. The lock tells a live
// writer's file from one a dead process left: the kernel drops a dead process's locks. A file
// its writer renamed away between our open and our lock is no longer at the name; then try again.
int ClaimOwnName(const std::string& temporary) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;  // another writer of the same file is at work
        }
        struct stat opened;
        struct stat named;
        if (::fstat(fd, &opened) == 0 && ::lstat(temporary.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            if (::ftruncate(fd, 0) == 0) return fd;
            ::close(fd);
            return -1;
        }
        ::close(fd);
    }
    return -1;
}

}  // namespace

std::string TemporaryNameFor(const std::string& target) {
    const std::string folder = FolderOf(target);
    return (folder == "/" ? "" : folder) + "/." + NameOf(target) + kTemporarySuffix;
}

std::string LinkedFile(const std::string& path) {
    std::string file = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st;
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return file;
        std::string link(static_cast<std::size_t>(st.st_size) + 256, '\0');
        const ssize_t n = ::readlink(file.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return file;
        link.resize(static_cast<std::size_t>(n));
        file = link.front() == '/' ? link : FolderOf(file) + "/" + link;
    }
    return file;
}

std::unique_ptr<AtomicFile> AtomicFile::Create(const std::string& path,
                                               PendingReplacements* group) {
    // What cannot be created is decided before a byte is written; a failure later on is a failed
    // write.
    if (path.empty() || path.back() == '/') return nullptr;
    // A symbolic link stays: the file it names is replaced, from a temporary file beside it.
    const std::string target = LinkedFile(path);
    if (IsReadOnly(target) || IsNoFile(target)) return nullptr;
    std::string temporary = TemporaryNameFor(target);
    int fd = ClaimOwnName(temporary);
    if (fd < 0) {
        temporary += ".XXXXXX";
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    }
    if (fd < 0) return nullptr;
    struct stat old;
    const mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                            ? (old.st_mode & 07777)
                            : (0666 & ~CreationMask());
    ::fchmod(fd, mode);
    return std::unique_ptr<AtomicFile>(new AtomicFile(target, std::move(temporary), fd, group));
}

AtomicFile::AtomicFile(std::string target, std::string temporary, int fd,
                       PendingReplacements* group)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd), group_(group) {}

AtomicFile::~AtomicFile() {
    // Unlinked before the close, while the name is still ours.
    if (!committed_) ::unlink(temporary_.c_str());
    if (fd_ >= 0) ::close(fd_);
}

bool AtomicFile::write(const char* data, std::size_t size) {
    if (failed_ || committed_) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    if (failed_ || committed_) return false;
    // The bytes reach the disk before the name does, and the name before this returns: a power
    // loss then leaves the old file or the new one, as a crash does.
    if (!SyncToDisk(fd_)) return false;
    if (group_ != nullptr && group_->open()) {
        group_->add(fd_, temporary_, target_);
        fd_ = -1;
        committed_ = true;
        return true;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    SyncFolder(FolderOf(target_));
    committed_ = true;
    ::fstat(fd_, &status_);
    ::close(fd_);
    fd_ = -1;
    return true;
}

PendingReplacements::~PendingReplacements() {
    for (const Replacement& waiting : waiting_) {
        ::unlink(waiting.temporary.c_str());
        ::close(waiting.fd);
    }
}

void PendingReplacements::add(int fd, std::string temporary, std::string target) {
    waiting_.push_back({fd, std::move(temporary), std::move(target)});
    if (waiting_.size() >= kMaxWaitingFiles && !replaceAll()) failed_ = true;
}

bool PendingReplacements::end() {
    if (depth_ == 0) return true;
    if (--depth_ > 0) return true;
    const bool replaced = replaceAll() && !failed_;
    failed_ = false;
    return replaced;
}

bool PendingReplacements::replaceAll() {
    bool replaced = true;
    std::vector<std::string> folders;
    for (const Replacement& waiting : waiting_) {
        if (::rename(waiting.temporary.c_str(), waiting.target.c_str()) == 0) {
            std::string folder = FolderOf(waiting.target);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
                folders.push_back(std::move(folder));
            }
        } else {
            replaced = false;
            ::unlink(waiting.temporary.c_str());
        }
        ::close(waiting.fd);
    }
    waiting_.clear();
    for (const std::string& folder : folders) SyncFolder(folder);
    return replaced;
}

}  // namespace velmarin::platform::posix

namespace velmarin::platform {

std::unique_ptr<OutputFile> CreateReplacingFile(const std::string& nativePath) {
    return posix::AtomicFile::Create(nativePath);
}

}  // namespace velmarin::platform

namespace velmarin::platform::posix {

bool ReplaceFile(const std::string& target, const std::string& bytes, struct stat* status) {
    auto file = AtomicFile::Create(target);
    if (!file || !file->write(bytes.data(), bytes.size()) || !file->commit()) return false;
    if (status != nullptr) *status = file->committedStatus();
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& contents, struct stat* status) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == data.size()) data.resize(data.size() * 2 + 4096);
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    data.resize(used);
    if (status != nullptr) ::fstat(fd, status);
    ::close(fd);
    contents = std::move(data);
    return true;
}

}  // namespace velmarin::platform::posix
