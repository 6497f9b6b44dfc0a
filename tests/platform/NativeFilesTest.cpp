// Paths of the machine's own file system: what a path names, and splitting paths at their
// separators, which a GBK trail byte 0x5C never is.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/NativeFiles.h"
#include "support/TempDrive.h"

namespace velmarin::platform {
namespace {

TEST(NativePaths, SplitAtTheLastSeparatorOfTheirOwn) {
    struct Case {
        std::string path;
        std::string folder;
        std::string name;
        std::string beside;  // BesideFile(path, "M.arx")
    };
    const Case cases[] = {
        {"D:\\w\\A.dwg", "D:\\w", "A.dwg", "D:\\w\\M.arx"},
        {"/opt/v/bin/host", "/opt/v/bin", "host", "/opt/v/bin/M.arx"},
        {"D:\\w/a\\b.dwg", "D:\\w/a", "b.dwg", "D:\\w/a\\M.arx"},
        {"/host", "/", "host", "/M.arx"},
        {"A.dwg", "", "A.dwg", "M.arx"},
        {"D:\\\xB1\x5C\\\xB1\x5C.dwg", "D:\\\xB1\x5C", "\xB1\x5C.dwg", "D:\\\xB1\x5C\\M.arx"},
        {"D:\\w\\\xB1\x5C", "D:\\w", "\xB1\x5C", "D:\\w\\M.arx"},  // 0x5C ends the name as a trail
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(BesideFile(c.path, "M.arx"), c.beside) << c.path;
    }
}

TEST(NativePaths, AnsiPathLimitCountsCharacters) {
    const std::string chinese = "\xD6\xD0";  // 中
    struct Case {
        std::string path;
        bool exceeds;
    };
    const Case cases[] = {
        {std::string(259, 'a'), false},
        {std::string(260, 'a'), true},
        {std::string(257, 'a') + chinese + chinese, false},  // 259 characters in 261 bytes
        {std::string(258, 'a') + chinese + chinese, true},
    };
    for (const Case& c : cases) EXPECT_EQ(ExceedsAnsiPathLimit(c.path), c.exceeds) << c.path.size();
}

TEST(NativeFiles, KindOfPathOnLinux) {
    testing::TempDrive drive;
    drive.write("a/file.txt", "x");
    drive.write("a/locked.txt", "x");
    chmod(drive.resolve("a/locked.txt").c_str(), 0444);
    const std::string root = drive.root();
    EXPECT_EQ(KindOfPath(root + "/a"), PathKind::Folder);
    EXPECT_EQ(KindOfPath(root + "/a/file.txt"), PathKind::File);
    EXPECT_EQ(KindOfPath(root + "/a/locked.txt"), PathKind::ReadOnlyFile);
    EXPECT_EQ(KindOfPath(root + "/a/missing.txt"), PathKind::Missing);
    EXPECT_EQ(KindOfPath(""), PathKind::Missing);
    EXPECT_EQ(AbsolutePath(root + "/a/../a/./file.txt"), root + "/a/file.txt");
}

}  // namespace
}  // namespace velmarin::platform
