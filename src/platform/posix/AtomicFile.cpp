#include "platform/posix/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

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

std::unique_ptr<AtomicFile> AtomicFile::Create(const std::string& target, Faults& faults) {
    // What cannot be created is decided before a byte is written; a failure later on is a failed
    // write.
    if (target.empty() || target.back() == '/' || IsReadOnly(target) || IsNoFile(target)) {
        return nullptr;
    }
    const std::string folder = FolderOf(target);
    std::string temporary = (folder == "/" ? "" : folder) + "/." + NameOf(target) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat old;
    const mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                            ? (old.st_mode & 07777)
                            : (0666 & ~CreationMask());
    ::fchmod(fd, mode);
    return std::unique_ptr<AtomicFile>(new AtomicFile(target, std::move(temporary), fd, faults));
}

AtomicFile::AtomicFile(std::string target, std::string temporary, int fd, Faults& faults)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd), faults_(faults) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temporary_.c_str());
}

bool AtomicFile::write(const char* data, std::size_t size) {
    if (failed_ || committed_) return false;
    if (faults_.diskSpace) {
        if (*faults_.diskSpace < size) {
            faults_.diskSpace = 0;
            failed_ = true;
            return false;
        }
        *faults_.diskSpace -= size;
    }
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
    if (failed_ || committed_ || faults_.failRename) return false;
    // The bytes reach the disk before the name does, and the name before this returns: a power
    // loss then leaves the old file or the new one, as a crash does.
    if (!SyncToDisk(fd_)) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    SyncFolder(FolderOf(target_));
    committed_ = true;
    ::fstat(fd_, &status_);
    ::close(fd_);
    fd_ = -1;
    return true;
}

}  // namespace velmarin::platform::posix

namespace velmarin::platform {

std::unique_ptr<OutputFile> CreateReplacingFile(const std::string& nativePath) {
    static posix::Faults none;
    return posix::AtomicFile::Create(nativePath, none);
}

}  // namespace velmarin::platform

namespace velmarin::platform::posix {

bool ReplaceFile(const std::string& target, const std::string& bytes, Faults& faults,
                 struct stat* status) {
    auto file = AtomicFile::Create(target, faults);
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
