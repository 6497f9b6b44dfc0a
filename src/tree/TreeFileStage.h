#pragma once
// The tree file is handed to the client whole or not at all. While a stage is open, the profile
// reads and writes of the tree file go to a copy in memory, kept with the same rules as the
// platform's profile functions, and commit() replaces the file on disk in one step. A run that
// stops half-way, a full disk or a file that cannot be replaced leave the old file as it was, so
// the client never reads a mixture of two runs or a file cut short.

#include <memory>
#include <string>

namespace velmarin::platform {
class Platform;
}

namespace velmarin {

class TreeFileStage {
  public:
    // Starts the file empty, as the save and batch runs recreate it; the file on disk is not
    // touched until commit().
    explicit TreeFileStage(std::string path);
    ~TreeFileStage();
    TreeFileStage(const TreeFileStage&) = delete;
    TreeFileStage& operator=(const TreeFileStage&) = delete;

    // Replaces the file with what was written. On failure the user is shown the write-failure
    // message naming the file, the old file stays, and false is returned.
    bool commit();

  private:
    class StagingPlatform;
    std::string path_;
    platform::Platform& system_;
    std::unique_ptr<StagingPlatform> staging_;
};

}  // namespace velmarin
