#pragma once
// The VORD client bridge: finds the client through the registry, and offers one operation per
// request the plug-in makes to it over the exchange file. It keeps the login state.

#include <string>
#include <vector>

namespace velmarin {

// Operation codes of VORD_Invoke.
enum VordCode : int {
    kCodeOpenScript = 2,
    kCodeTreeFile = 3,
    kCodeLogin = 5,
    kCodeUnload = 6,
    kCodeSaveRight = 7,
    kCodeDownload = 8,
    kCodeUpload = 9,
    kCodeSavePath = 10,
    kCodeCancelSave = 11,
    kCodeCommitSave = 12,
    kCodePrintText = 23,
};

class VordClient {
  public:
    // Reads the client folder from the registry; the login arguments are those the client
    // expects with the login code.
    VordClient(int firstLoginArgument, int secondLoginArgument);

    // Each request is true when the client answered 1 (a save right: anything but 0); a request
    // whose parameters could not be written is not made and is false.
    // Logs in, the state following the answer.
    bool Login();
    // True when logged in; otherwise asks the user to log in first and logs in.
    bool EnsureLoggedIn();
    bool loggedIn() const { return loggedIn_; }
    std::string GetOpenScript();
    bool SendTreeFile(const std::string& treeFilePath);
    bool NotifyUnload();
    bool CheckSaveRight(const std::string& drawingPath);
    bool DownloadFile(const std::string& first, const std::string& second);
    bool UploadFile(const std::string& first, const std::string& second);
    std::string GetSavePath(int mode, const std::string& name, std::string& return2,
                            std::string& return3);
    bool CancelSave();
    bool CommitSave(const std::string& path, const std::string& return2,
                    const std::string& return3);
    std::string GetPrintText();

    // Fields, in the order the client installation defines them.
    int firstLoginArgument;
    int secondLoginArgument;
    std::string clientFolder;  // ends in a backslash (empty when "AppPath" is missing)
    std::string exchangeFilePath;
    std::string exchangeFileName;
    std::string libraryFileName;
    std::string libraryPath;

  private:
    // Writes param1.. in ascending order, calls the client, and returns its answer; 0 when the
    // request was not made.
    int Invoke(int code, const std::vector<std::string>& params);
    std::string ReadReturn(int index);

    bool loggedIn_ = false;
};

}  // namespace velmarin
