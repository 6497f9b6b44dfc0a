#include "tree/TreeFileStage.h"

#include <memory>
#include <optional>

#include "platform/Platform.h"
#include "platform/profile/ProfileRead.h"
#include "platform/profile/ProfileWrite.h"
#include "util/FixedTexts.h"
#include "util/Text.h"

namespace velmarin {

namespace profile = platform::profile;

// The platform while a stage is open: the staged file's profile calls and its existence are
// answered from memory, everything else goes to the system's platform.
class TreeFileStage::StagingPlatform : public platform::Platform {
  public:
    StagingPlatform(platform::Platform& system, std::string path)
        : system_(system),
          path_(std::move(path)),
          text_(std::make_unique<profile::ProfileText>()) {}

    const std::string& bytes() const { return text_->bytes(); }

    std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, std::uint32_t bufferSize,
                                   const std::string& file) override {
        if (!isStaged(file)) {
            return system_.getProfileString(section, key, defaultValue, buffer, bufferSize, file);
        }
        return profile::GetString(text_.get(), section, key, defaultValue, buffer, bufferSize)
            .length;
    }
    bool writeProfileString(const char* section, const char* key, const char* value,
                            const std::string& file) override {
        if (!isStaged(file)) return system_.writeProfileString(section, key, value, file);
        std::optional<std::string> bytes = profile::PutString(text_.get(), section, key, value);
        if (!bytes) return false;
        text_ = std::make_unique<profile::ProfileText>(std::move(*bytes));
        return true;
    }
    bool findFirstFile(const std::string& pattern) override {
        return isStaged(pattern) || system_.findFirstFile(pattern);
    }

    bool readRegistryString(const std::string& keyPath, const std::string& valueName,
                            std::string& value) override {
        return system_.readRegistryString(keyPath, valueName, value);
    }
    bool createDirectory(const std::string& path) override { return system_.createDirectory(path); }
    bool deleteFile(const std::string& path) override { return system_.deleteFile(path); }
    std::unique_ptr<platform::OutputFile> createFile(const std::string& path) override {
        return system_.createFile(path);
    }
    bool readFile(const std::string& path, std::string& contents) override {
        return system_.readFile(path, contents);
    }
    std::string moduleFileName(const std::string& moduleName) override {
        return system_.moduleFileName(moduleName);
    }
    platform::LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override {
        return system_.loadLibrary(path, errorText);
    }
    void* getProcAddress(platform::LibraryHandle library, const char* name) override {
        return system_.getProcAddress(library, name);
    }
    platform::Notifier& notifier() override { return system_.notifier(); }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds,
                            platform::TimerProc proc) override {
        return system_.setTimer(id, milliseconds, proc);
    }
    bool killTimer(void* window, std::uintptr_t id) override {
        return system_.killTimer(window, id);
    }

  private:
    // The writers all build the path the same way; only letter case may differ.
    bool isStaged(const std::string& file) const { return text::EqualsNoCase(file, path_); }

    platform::Platform& system_;
    std::string path_;
    std::unique_ptr<profile::ProfileText> text_;
};

TreeFileStage::TreeFileStage(std::string path)
    : path_(std::move(path)),
      system_(platform::current()),
      staging_(std::make_unique<StagingPlatform>(system_, path_)) {
    platform::install(staging_.get());
}

TreeFileStage::~TreeFileStage() { platform::install(&system_); }

bool TreeFileStage::commit() {
    std::unique_ptr<platform::OutputFile> file = system_.createFile(path_);
    if (file && file->write(staging_->bytes()) && file->commit()) return true;
    system_.notifier().messageBox(std::string(texts::kWriteFileFailed) + path_, "",
                                  platform::MessageIcon::None);
    return false;
}

}  // namespace velmarin
