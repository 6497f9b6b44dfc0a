#include "platform/shims/FaultPlatform.h"

#include <unistd.h>

#include "platform/profile/ProfileText.h"
#include "platform/profile/ProfileWrite.h"

namespace velmarin::platform::shims {
namespace {

class FaultFile : public OutputFile {
  public:
    FaultFile(std::unique_ptr<OutputFile> inner, FaultPlatform& platform)
        : inner_(std::move(inner)), platform_(platform) {}

    bool write(const char* data, std::size_t size) override {
        platform_.operation();
        if (failed_ || !platform_.takeSpace(size)) {
            failed_ = true;
            return false;
        }
        return inner_->write(data, size);
    }
    bool commit() override {
        platform_.operation();
        if (failed_ || platform_.faults().failCommit) return false;
        return inner_->commit();
    }

  private:
    std::unique_ptr<OutputFile> inner_;
    FaultPlatform& platform_;
    bool failed_ = false;
};

}  // namespace

void FaultPlatform::operation() {
    ++operations_;
    if (faults_.endAtOperation && operations_ >= *faults_.endAtOperation) ::_exit(kEndedByFault);
}

bool FaultPlatform::takeSpace(std::uint64_t size) {
    if (faults_.diskSpace) {
        if (*faults_.diskSpace < size) {
            faults_.diskSpace = 0;
            return false;
        }
        *faults_.diskSpace -= size;
    }
    bytesWritten_ += size;
    return true;
}

std::uint32_t FaultPlatform::getProfileString(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              std::uint32_t bufferSize, const std::string& file) {
    operation();
    return ForwardingPlatform::getProfileString(section, key, defaultValue, buffer, bufferSize,
                                                file);
}

bool FaultPlatform::writeProfileString(const char* section, const char* key, const char* value,
                                       const std::string& file) {
    operation();
    if (faults_.failProfileWrites > 0) {
        --faults_.failProfileWrites;
        return false;
    }
    if (section != nullptr && (faults_.failCommit || faults_.diskSpace)) {
        // The file the write would leave decides: an unchanged file is not written at all, a
        // changed one is written whole, as the profile writer replaces files.
        std::string old;
        const bool exists = inner().readFile(file, old);
        const profile::ProfileText text(std::move(old));
        const auto bytes = profile::PutString(exists ? &text : nullptr, section, key, value);
        if (bytes && (!exists || *bytes != text.bytes())) {
            if (faults_.failCommit || !takeSpace(bytes->size())) return false;
        }
    }
    return ForwardingPlatform::writeProfileString(section, key, value, file);
}

bool FaultPlatform::findFirstFile(const std::string& pattern) {
    operation();
    return ForwardingPlatform::findFirstFile(pattern);
}

bool FaultPlatform::createDirectory(const std::string& path) {
    operation();
    return !faults_.failCreateDirectory && ForwardingPlatform::createDirectory(path);
}

bool FaultPlatform::deleteFile(const std::string& path) {
    operation();
    return ForwardingPlatform::deleteFile(path);
}

std::unique_ptr<OutputFile> FaultPlatform::createFile(const std::string& path) {
    operation();
    if (faults_.failCreateFile) return nullptr;
    auto file = ForwardingPlatform::createFile(path);
    if (!file) return nullptr;
    return std::make_unique<FaultFile>(std::move(file), *this);
}

bool FaultPlatform::readFile(const std::string& path, std::string& contents) {
    operation();
    return ForwardingPlatform::readFile(path, contents);
}

bool FaultPlatform::endCommitGroup() {
    operation();
    return ForwardingPlatform::endCommitGroup();
}

}  // namespace velmarin::platform::shims
