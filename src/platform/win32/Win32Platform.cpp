#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/ReplacingFile.h"
#include "platform/win32/Win32Notifier.h"

namespace velmarin::platform::win32 {
namespace {

// RegQueryValueExA's buffer: 259 characters and the terminating zero.
constexpr DWORD kRegistryBuffer = 260;
constexpr DWORD kModuleNameBuffer = 2600;

using WaitingFiles = std::vector<std::pair<std::string, std::string>>;

bool MoveOver(const std::string& temporary, const std::string& target) {
    return MoveFileExA(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// A file written under a temporary name and moved over the target once complete; inside a commit
// group the move waits for the group's end.
class Win32OutputFile : public OutputFile {
  public:
    Win32OutputFile(HANDLE handle, std::string temporary, std::string target, WaitingFiles* group)
        : handle_(handle),
          temporary_(std::move(temporary)),
          target_(std::move(target)),
          group_(group) {}
    ~Win32OutputFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
            DeleteFileA(temporary_.c_str());
        }
    }

    bool write(const char* data, std::size_t size) override {
        if (handle_ == INVALID_HANDLE_VALUE || failed_) return false;
        while (size > 0) {
            const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(handle_, data, chunk, &written, nullptr) || written != chunk) {
                failed_ = true;
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool commit() override {
        if (handle_ == INVALID_HANDLE_VALUE) return false;
        const bool flushed = !failed_ && FlushFileBuffers(handle_);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        if (flushed && group_ != nullptr) {
            const std::pair<std::string, std::string> move{temporary_, target_};
            if (std::find(group_->begin(), group_->end(), move) == group_->end()) {
                group_->push_back(move);
            }
            return true;
        }
        if (flushed && MoveOver(temporary_, target_)) return true;
        DeleteFileA(temporary_.c_str());
        return false;
    }

  private:
    HANDLE handle_;
    std::string temporary_;
    std::string target_;
    WaitingFiles* group_;
    bool failed_ = false;
};

std::unique_ptr<OutputFile> CreateTemporaryFile(const std::string& path, WaitingFiles* group) {
    // A symbolic link stays, as it does under the profile functions: the file it names is
    // replaced, from a temporary file beside that file.
    const std::string target = win32::LinkedFile(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    // What cannot be created is decided before a byte is written: a read-only file or a folder
    // standing at the path. A failure later on is a failed write.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return nullptr;
    }
    const std::string temporary = win32::TemporaryNameFor(target);
    HANDLE handle = CreateFileA(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32OutputFile>(handle, temporary, target, group);
}

// SetTimer calls back with the system's calling convention; the seam's procedures use the C one.
// The lock only guards the table: timers without a window fire on the thread that set them.
std::mutex g_timerLock;
std::map<UINT_PTR, TimerProc> g_timerProcs;

void CALLBACK TimerTrampoline(HWND window, UINT message, UINT_PTR id, DWORD time) {
    TimerProc proc = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_timerLock);
        auto found = g_timerProcs.find(id);
        if (found != g_timerProcs.end()) proc = found->second;
    }
    if (proc != nullptr) proc(window, message, id, time);
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    std::string result = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    return result;
}

std::string TemporaryNameFor(const std::string& path) { return path + ".velmarin-new"; }

std::string LinkedFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    HANDLE handle =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return path;
    char buffer[kModuleNameBuffer];
    const DWORD length =
        GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    CloseHandle(handle);
    if (length == 0 || length >= sizeof buffer) return path;
    std::string file(buffer, length);
    // The system answers in its long form; the ANSI calls take the plain one.
    if (file.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + file.substr(8);
    if (file.rfind("\\\\?\\", 0) == 0) return file.substr(4);
    return file;
}

}  // namespace velmarin::platform::win32

namespace velmarin::platform {

std::unique_ptr<OutputFile> CreateReplacingFile(const std::string& nativePath) {
    return win32::CreateTemporaryFile(nativePath, nullptr);
}

}  // namespace velmarin::platform

namespace velmarin::platform::win32 {

Win32Platform::Win32Platform() : notifier_(std::make_unique<Win32Notifier>()) {}

Win32Platform::~Win32Platform() = default;

bool Win32Platform::readRegistryString(const std::string& keyPath, const std::string& valueName,
                                       std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str(), &key) != ERROR_SUCCESS || key == nullptr) {
        return false;
    }
    char buffer[kRegistryBuffer] = {};
    DWORD type = REG_SZ;
    DWORD size = kRegistryBuffer;
    const LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    // Only text is a path; a number or binary data under the name is no value for the caller.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // Text stored without its terminating zero may fill the buffer: then it did not fit.
    const std::size_t length = strnlen(buffer, size < kRegistryBuffer ? size : kRegistryBuffer);
    if (length >= kRegistryBuffer) return false;
    value.assign(buffer, length);
    return true;
}

std::uint32_t Win32Platform::getProfileString(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              std::uint32_t bufferSize, const std::string& file) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, bufferSize, file.c_str());
}

bool Win32Platform::writeProfileString(const char* section, const char* key, const char* value,
                                       const std::string& file) {
    return WritePrivateProfileStringA(section, key, value, file.c_str()) != FALSE;
}

bool Win32Platform::findFirstFile(const std::string& pattern) {
    if (pattern.empty()) return false;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool Win32Platform::createDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

std::unique_ptr<OutputFile> Win32Platform::createFile(const std::string& path) {
    return CreateTemporaryFile(path, groupDepth_ > 0 ? &waiting_ : nullptr);
}

bool Win32Platform::endCommitGroup() {
    if (groupDepth_ == 0 || --groupDepth_ > 0) return true;
    bool moved = true;
    for (const auto& [temporary, target] : waiting_) {
        if (!MoveOver(temporary, target)) {
            DeleteFileA(temporary.c_str());
            moved = false;
        }
    }
    waiting_.clear();
    return moved;
}

bool Win32Platform::readFile(const std::string& path, std::string& contents) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    contents.clear();
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(handle, chunk, sizeof chunk, &read, nullptr) != FALSE) && read > 0) {
        contents.append(chunk, read);
    }
    CloseHandle(handle);
    return ok;
}

std::string Win32Platform::moduleFileName(const std::string& moduleName) {
    HMODULE module = GetModuleHandleA(moduleName.c_str());  // null names the host executable
    char buffer[kModuleNameBuffer] = {};
    const DWORD length = GetModuleFileNameA(module, buffer, kModuleNameBuffer);
    return std::string(buffer, length < kModuleNameBuffer ? length : kModuleNameBuffer - 1);
}

LibraryHandle Win32Platform::loadLibrary(const std::string& path, std::string& errorText) {
    // A library the system cannot load is reported once, by the caller's message with the
    // system's text, not also by a system dialog of its own.
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode) != FALSE;
    HMODULE library = LoadLibraryA(path.c_str());
    const DWORD error = library == nullptr ? GetLastError() : ERROR_SUCCESS;
    if (quiet) SetThreadErrorMode(previousMode, nullptr);
    if (library == nullptr) errorText = SystemErrorText(error);
    return reinterpret_cast<LibraryHandle>(library);
}

void* Win32Platform::getProcAddress(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::uintptr_t Win32Platform::setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) {
    if (proc == nullptr) return 0;
    std::lock_guard<std::mutex> lock(g_timerLock);
    const UINT_PTR timer = SetTimer(nullptr, id, milliseconds, TimerTrampoline);
    if (timer != 0) g_timerProcs[timer] = proc;
    return timer;
}

bool Win32Platform::killTimer(void* window, std::uintptr_t id) {
    {
        std::lock_guard<std::mutex> lock(g_timerLock);
        g_timerProcs.erase(id);
    }
    return KillTimer(static_cast<HWND>(window), id) != FALSE;
}

}  // namespace velmarin::platform::win32
