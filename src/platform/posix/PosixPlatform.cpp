#include "platform/posix/PosixPlatform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/DoubleByte.h"
#include "platform/Encoding.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/RegistryFile.h"
#include "platform/profile/ProfileRead.h"
#include "platform/profile/ProfileWrite.h"

namespace velmarin::platform::posix {
namespace {

// GetModuleFileNameA into the caller's 2,600-byte buffer keeps 2,599 bytes and the NUL.
constexpr std::size_t kModuleNameLimit = 2599;

// Position of the last separator outside double-byte characters (a drive's colon counts), or npos.
std::size_t LastSeparator(const std::string& path) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || (c == ':' && i == 1)) found = i;
        if (CharWidth(path, i) == 2) ++i;
    }
    return found;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// A written file that tells the resolver of its name once it has replaced its target, so that
// the folder need not be read again to find it.
class ReportedFile : public OutputFile {
  public:
    ReportedFile(std::unique_ptr<OutputFile> file, std::string path, const PathResolver& resolver)
        : file_(std::move(file)), path_(std::move(path)), resolver_(resolver) {}
    bool write(const char* data, std::size_t size) override { return file_->write(data, size); }
    bool commit() override {
        if (!file_->commit()) return false;
        resolver_.created(path_);
        return true;
    }

  private:
    std::unique_ptr<OutputFile> file_;
    std::string path_;
    const PathResolver& resolver_;
};

// Without a display a message box is a line on standard error, and no file can be picked.
class ConsoleNotifier : public Notifier {
  public:
    void messageBox(const std::string& text, const std::string& title, MessageIcon) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    }
    std::optional<std::vector<std::string>> openFileDialog(const OpenFileDialogSpec&) override {
        return std::nullopt;
    }
};

}  // namespace

PosixPlatform::PosixPlatform(PosixConfig config)
    : config_(std::move(config)),
      notifier_(std::make_unique<ConsoleNotifier>()),
      resolver_(config_.drives) {}

PosixPlatform::~PosixPlatform() = default;

std::string PosixPlatform::resolve(const std::string& windowsPath) const {
    return resolver_.resolve(windowsPath);
}

bool PosixPlatform::readRegistryString(const std::string& keyPath, const std::string& valueName,
                                       std::string& value) {
    return ReadRegistryValue(config_.registryFile, keyPath, valueName, value);
}

std::uint32_t PosixPlatform::getProfileString(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              std::uint32_t bufferSize, const std::string& file) {
    // A file at the path as spelled is the one resolve() would find, and the cache checks its
    // status anyway: reads of an existing file, the many single values of a batch, need no lookup.
    auto loaded = profileCache_.load(resolver_.literal(file));
    if (loaded.state != ProfileCache::State::Present) loaded = profileCache_.load(resolve(file));
    return profile::GetString(loaded.text.get(), section, key, defaultValue, buffer, bufferSize)
        .length;
}

bool PosixPlatform::writeProfileString(const char* section, const char* key, const char* value,
                                       const std::string& file) {
    if (section == nullptr) return false;
    const std::string path = resolve(file);
    const auto loaded = profileCache_.load(path);
    if (path.empty() || loaded.state == ProfileCache::State::Unreadable) return false;
    auto bytes = profile::PutString(loaded.text.get(), section, key, value);
    if (!bytes) return false;
    if (loaded.text != nullptr && *bytes == loaded.text->bytes()) return true;

    const struct timespec started = ProfileCache::Now();
    struct stat status;
    if (!ReplaceFile(path, *bytes, &status)) return false;
    resolver_.created(path);
    profileCache_.store(path, std::make_shared<const profile::ProfileText>(std::move(*bytes)),
                        status, started);
    return true;
}

bool PosixPlatform::findFirstFile(const std::string& pattern) {
    if (pattern.empty()) return false;
    const std::size_t separator = LastSeparator(pattern);
    const std::string name =
        separator == std::string::npos ? pattern : pattern.substr(separator + 1);
    if (name.empty()) return false;  // "D:\folder\" names no entry
    if (name.find_first_of("*?") == std::string::npos) {
        struct stat st;
        const std::string literal = resolver_.literal(pattern);  // found as spelled: no lookup
        if (!literal.empty() && ::stat(literal.c_str(), &st) == 0) return true;
        const std::string path = resolve(pattern);
        return !path.empty() && ::stat(path.c_str(), &st) == 0;
    }

    std::string folder = separator == std::string::npos ? "." : pattern.substr(0, separator + 1);
    if (folder.find_first_of("*?") != std::string::npos) return false;
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    const std::string path = resolve(folder);
    DIR* dir = path.empty() ? nullptr : ::opendir(path.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName == "." || entryName == "..") continue;
        if (WildcardMatch(name, entryName)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

bool PosixPlatform::createDirectory(const std::string& path) {
    const std::string resolved = resolve(path);
    if (resolved.empty() || ::mkdir(resolved.c_str(), 0777) != 0) return false;
    resolver_.created(resolved);
    return true;
}

bool PosixPlatform::deleteFile(const std::string& path) {
    const std::string resolved = resolve(path);
    if (resolved.empty() || IsReadOnly(resolved) || ::unlink(resolved.c_str()) != 0) return false;
    resolver_.removed(resolved);
    return true;
}

std::unique_ptr<OutputFile> PosixPlatform::createFile(const std::string& path) {
    const std::string resolved = resolve(path);
    auto file = AtomicFile::Create(resolved, &pending_);
    if (!file) return nullptr;
    return std::make_unique<ReportedFile>(std::move(file), resolved, resolver_);
}

bool PosixPlatform::readFile(const std::string& path, std::string& contents) {
    const std::string resolved = resolve(path);
    return !resolved.empty() && ReadWholeFile(resolved, contents);
}

std::string PosixPlatform::moduleFileName(const std::string& moduleName) {
    const std::string wanted = profile::FoldCase(FileNameOf(moduleName));
    std::string path = config_.hostExecutable;
    for (const auto& [name, modulePath] : config_.modules) {
        if (profile::FoldCase(FileNameOf(name)) == wanted) {
            path = modulePath;
            break;
        }
    }
    std::string windows = resolver_.toWindows(path);
    if (windows.size() > kModuleNameLimit) windows.resize(kModuleNameLimit);
    return windows;
}

LibraryHandle PosixPlatform::loadLibrary(const std::string& path, std::string& errorText) {
    const std::string resolved = resolve(path);
    if (resolved.empty()) {  // dlopen of an empty name would hand back the program itself
        errorText = "The system cannot find the path specified.";
        return nullptr;
    }
    void* handle = ::dlopen(resolved.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        errorText = error != nullptr ? error : "The library could not be loaded.";
        std::string gbk;  // the message names the file, whose POSIX name may be UTF-8
        if (IsValidUtf8(errorText) && Utf8ToGbk(errorText, gbk)) errorText = gbk;
    }
    return handle;
}

void* PosixPlatform::getProcAddress(LibraryHandle library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return ::dlsym(library, name);
}

// No message loop runs on Linux to call a timer procedure: setting one fails, as SetTimer does.
std::uintptr_t PosixPlatform::setTimer(std::uintptr_t, unsigned, TimerProc) { return 0; }

bool PosixPlatform::killTimer(void*, std::uintptr_t) { return false; }

}  // namespace velmarin::platform::posix
