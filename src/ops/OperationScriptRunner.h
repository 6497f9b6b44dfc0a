#pragma once
// The operation-script runner: runs the INI scripts the VORD client hands back, in a fixed
// section order (transfers first, then drawings to open).

#include <string>

namespace velmarin {

class Drawings;
class VordClient;

class OperationScriptRunner {
  public:
    OperationScriptRunner(VordClient& vord, Drawings& drawings)
        : vord_(vord), drawings_(drawings) {}

    // True when the script was read and its sections run; false when it is missing or the run
    // broke off.
    bool RunScript(const std::string& path);
    // One Download / UpLoadFile record: true when the client answered 1.
    bool DownloadEntry(const std::string& value, const std::string& separator);
    bool UploadEntry(const std::string& value, const std::string& separator);
    // GetSavePath with the integer 1.
    std::string RequestSavePath(const std::string& name, std::string& return2,
                                std::string& return3);

  private:
    // Opens a drawing of the OpenFile section; one that cannot be opened is named on the command
    // line.
    void OpenEntry(const std::string& path);

    VordClient& vord_;
    Drawings& drawings_;
};

}  // namespace velmarin
