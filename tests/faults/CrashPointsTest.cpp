// A run that dies part way: through the fault shim the process ends at once (as _exit would) at
// its k-th file-system operation, for every k of a job. Each file on the drive is then byte for
// byte its old or its new version, nothing else has changed, and the next run of the same job
// leaves exactly what an undisturbed run leaves, with no temporary file of the dead run.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "commands/Commands.h"
#include "faults/FaultWorld.h"
#include "print/PrintFlow.h"
#include "support/TempDrive.h"

namespace velmarin::testing::faults {
namespace {

namespace fs = std::filesystem;

const char kPrintFile[] = "D:\\w\\B.dwg.print.ini";

// Every file and folder under the drive by its relative path (folders end in '/'), without the
// client double's own bookkeeping, which it writes itself on every call.
using Drive = std::map<std::string, std::string>;

Drive Snapshot(const std::string& root) {
    Drive drive;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        const std::string name = entry.path().filename().string();
        if (name == "client-calls.log" || name == "client-double.state") continue;
        drive[relative + (entry.is_directory() ? "/" : "")] =
            entry.is_directory() ? "" : ReadBytes(entry.path().string());
    }
    return drive;
}

void Restore(const std::string& root, const Drive& drive) {
    const Drive now = Snapshot(root);
    for (auto it = now.rbegin(); it != now.rend(); ++it) {
        if (drive.count(it->first) == 0) fs::remove(fs::path(root) / it->first);
    }
    for (const auto& [path, bytes] : drive) {
        if (path.back() == '/') {
            fs::create_directories(fs::path(root) / path);
        } else if (now.count(path) == 0 || now.at(path) != bytes) {
            WriteBytes((fs::path(root) / path).string(), bytes);
        }
    }
}

// The exchange file is rewritten one value at a time, by the system and by the client, so a crash
// may leave any of its versions; each must be a whole file, whose every line ends in CRLF.
bool IsWholeExchangeFile(const std::string& path, const std::string& bytes) {
    return path == "VORD/VORD.ini" && bytes.find('\0') == std::string::npos &&
           (bytes.empty() || bytes.compare(bytes.size() - std::min<std::size_t>(2, bytes.size()),
                                           2, "\r\n") == 0);
}

bool IsTemporary(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name.front() == '.' && name.find(".velmarin-new") != std::string::npos;
}

struct Job {
    const char* name;
    std::function<void(World&)> run;
    bool replacesFiles;  // writes files whole, so that a crash can leave a temporary file
};

void RunBatch(World& world) {
    world.notifier().queueDialogAnswer(std::vector<std::string>{kAssembly, kPart});
    commands::VORD_batchchange(world.vord(), world.batchTimer());
    world.clock().advance(1000);
}

const Job kJobs[] = {
    {"savebom",
     [](World& w) {
         w.host().queuePick(true);
         commands::savebom(w.vord());
     },
     true},
    {"SaveOfAFiledDrawing",
     [](World& w) {
         commands::savemethod(w.vord(), w.scripts(), w.drawings(), w.save());
     },
     true},
    {"BatchOfTwoDrawings", RunBatch, true},
    {"LoadThatStampsPrintInformation",
     [](World& w) {
         w.host().setDocumentOpenedListener([](host::Document&) { print::ApplyPrintFlow(); });
         std::string error;
         w.host().openDrawing(kPart, error);
     },
     false},
};

class CrashPoints : public FaultTest, public ::testing::WithParamInterface<Job> {
  protected:
    // Runs the job in a child process, which ends at operation `endAt` when one is given; the
    // child's exit status, and in `operations` how many file-system operations a whole run made.
    int runInChild(const Job& job, std::optional<std::uint64_t> endAt,
                   std::uint64_t* operations = nullptr) {
        int channel[2];
        if (::pipe(channel) != 0) return -1;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            world.faults().endAtOperation = endAt;
            job.run(world);
            const std::uint64_t made = world.faultPlatform().operations();
            const bool sent = ::write(channel[1], &made, sizeof made) == sizeof made;
            ::_exit(sent ? 0 : 1);
        }
        ::close(channel[1]);
        std::uint64_t made = 0;
        if (::read(channel[0], &made, sizeof made) == sizeof made && operations != nullptr) {
            *operations = made;
        }
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_P(CrashPoints, EveryFileIsOldOrNewAndTheNextRunClearsUp) {
    const Job& job = GetParam();
    world.writeFile(kPrintFile, "k=1,2,3,4,t\r\n");
    const std::string root = world.root();
    const Drive old = Snapshot(root);
    std::uint64_t operations = 0;
    ASSERT_EQ(runInChild(job, std::nullopt, &operations), 0);
    const Drive fresh = Snapshot(root);
    ASSERT_NE(fresh, old) << "the job changes nothing";

    int leftTemporaries = 0;
    for (std::uint64_t k = 1; k <= operations; ++k) {
        Restore(root, old);
        ASSERT_EQ(runInChild(job, k), platform::shims::kEndedByFault) << "operation " << k;
        const Drive crashed = Snapshot(root);
        bool temporary = false;
        for (const Drive* side : {&old, &fresh, &crashed}) {
            for (const auto& [path, bytes] : *side) {
                if (IsTemporary(path)) {
                    temporary = true;
                    continue;
                }
                const auto was = old.find(path);
                const auto will = fresh.find(path);
                const auto is = crashed.find(path);
                const bool asOld = was == old.end() ? is == crashed.end()
                                                    : is != crashed.end() && is->second == was->second;
                const bool asNew = will == fresh.end()
                                       ? is == crashed.end()
                                       : is != crashed.end() && is->second == will->second;
                const bool whole = is != crashed.end() && IsWholeExchangeFile(path, is->second);
                EXPECT_TRUE(asOld || asNew || whole) << path << " after a crash at operation " << k;
            }
        }
        leftTemporaries += temporary ? 1 : 0;
        ASSERT_EQ(runInChild(job, std::nullopt), 0);
        EXPECT_EQ(Snapshot(root), fresh) << "the run after a crash at operation " << k;
    }
    std::cout << job.name << ": " << operations << " crash points, " << leftTemporaries
              << " left a temporary file\n";
    if (job.replacesFiles) {
        EXPECT_GT(leftTemporaries, 0) << "no crash fell inside a write";
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, CrashPoints, ::testing::ValuesIn(kJobs),
                         [](const ::testing::TestParamInfo<Job>& job) {
                             return std::string(job.param.name);
                         });

}  // namespace
}  // namespace velmarin::testing::faults
