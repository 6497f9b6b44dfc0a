#pragma once
// An open drawing of the emulator: its file name as the user gave it, the file it reaches, and
// its database.

#include <memory>
#include <string>

#include "host/Host.h"
#include "host/sim/database/SimDatabase.h"

namespace velmarin::host::sim {

class SimDocument : public Document {
  public:
    SimDocument(std::string fileName, std::string filePath, std::unique_ptr<SimDatabase> db)
        : fileName_(std::move(fileName)), filePath_(std::move(filePath)), db_(std::move(db)) {}

    std::string fileName() const override { return fileName_; }
    Database* database() override { return db_.get(); }

    SimDatabase& simDatabase() { return *db_; }
    const SimDatabase& simDatabase() const { return *db_; }
    // The file-system path of the drawing file; empty for a drawing never saved.
    const std::string& filePath() const { return filePath_; }
    void rename(std::string fileName, std::string filePath) {
        fileName_ = std::move(fileName);
        filePath_ = std::move(filePath);
    }
    std::unique_ptr<SimDatabase> releaseDatabase() { return std::move(db_); }

  private:
    std::string fileName_;
    std::string filePath_;
    std::unique_ptr<SimDatabase> db_;
};

}  // namespace velmarin::host::sim
