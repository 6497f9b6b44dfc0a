#include "bridge/VordClient.h"

#include "bridge/ClientLibrary.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/IniValues.h"
#include "util/Messages.h"
#include "util/Paths.h"

namespace velmarin {
VordClient::VordClient(int firstLoginArgument_, int secondLoginArgument_)
    : firstLoginArgument(firstLoginArgument_),
      secondLoginArgument(secondLoginArgument_),
      exchangeFileName(texts::kExchangeFileName),
      libraryFileName(texts::kClientLibraryName) {
    // Without "AppPath" the folder stays empty rather than becoming a lone backslash, so the
    // calls name the bare library file when they report it missing and the plug-in stays usable.
    const std::string appPath =
        bridge::ReadRegistryString(texts::kClientRegistryKey, texts::kClientRegistryValue);
    clientFolder = appPath.empty() ? std::string() : util::WithTrailingBackslash(appPath);
    libraryPath = clientFolder + libraryFileName;
    exchangeFilePath = clientFolder + exchangeFileName;
}

int VordClient::Invoke(int code, const std::vector<std::string>& params) {
    // Parameters first: the client reads them during the call. A missing exchange file is not
    // created here; the call still goes out.
    const bool exchangeFileExists = util::FileExists(exchangeFilePath);
    for (std::size_t i = 0; i < params.size() && exchangeFileExists; ++i) {
        const std::string key = texts::kExchangeParamKeyPrefix + std::to_string(i + 1);
        // A parameter that could not be written (a read-only file, a full disk) would leave the
        // previous request's value in its place, and the client would act on that one: another
        // drawing's path to check, commit or file. The request is not made; it counts as a
        // call that returned 0, and the user is told which file could not be written.
        if (!platform::current().writeProfileString(texts::kExchangeParamSection, key.c_str(),
                                                    params[i].c_str(), exchangeFilePath)) {
            util::ShowMessage(texts::kWriteFileFailed + exchangeFilePath);
            return 0;
        }
    }
    return bridge::CallClientEntry(libraryPath, texts::kClientEntryName, code);
}

std::string VordClient::ReadReturn(int index) {
    std::string value;
    util::ReadIniString(texts::kExchangeReturnSection,
                        texts::kExchangeReturnKeyPrefix + std::to_string(index), value,
                        exchangeFilePath);
    return value;
}

bool VordClient::Login() {
    loggedIn_ = Invoke(kCodeLogin, {std::to_string(firstLoginArgument),
                                    std::to_string(secondLoginArgument)}) == 1;
    return loggedIn_;
}

bool VordClient::EnsureLoggedIn() {
    if (loggedIn_) return true;
    util::ShowMessage(texts::kLoginFirst);
    return Login();
}

std::string VordClient::GetOpenScript() {
    return Invoke(kCodeOpenScript, {}) == 1 ? ReadReturn(1) : std::string();
}

bool VordClient::SendTreeFile(const std::string& treeFilePath) {
    return Invoke(kCodeTreeFile, {treeFilePath}) == 1;
}

bool VordClient::NotifyUnload() { return Invoke(kCodeUnload, {}) == 1; }

bool VordClient::CheckSaveRight(const std::string& drawingPath) {
    return Invoke(kCodeSaveRight, {drawingPath}) != 0;
}

bool VordClient::DownloadFile(const std::string& first, const std::string& second) {
    return Invoke(kCodeDownload, {first, second}) == 1;
}

bool VordClient::UploadFile(const std::string& first, const std::string& second) {
    return Invoke(kCodeUpload, {first, second}) == 1;
}

std::string VordClient::GetSavePath(int mode, const std::string& name, std::string& return2,
                                    std::string& return3) {
    if (Invoke(kCodeSavePath, {std::to_string(mode), name}) != 1) return std::string();
    // The client's answers are read in this order: the further answers, then the path.
    return2 = ReadReturn(2);
    return3 = ReadReturn(3);
    return ReadReturn(1);
}

bool VordClient::CancelSave() { return Invoke(kCodeCancelSave, {}) == 1; }

bool VordClient::CommitSave(const std::string& path, const std::string& return2,
                            const std::string& return3) {
    return Invoke(kCodeCommitSave, {path, return2, return3}) == 1;
}

std::string VordClient::GetPrintText() {
    return Invoke(kCodePrintText, {}) == 1 ? ReadReturn(1) : std::string();
}

}  // namespace velmarin
