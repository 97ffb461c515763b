#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace veltrix {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(AtomicFile, FailureNamesThePathAndTheReason) {
    const std::string path = (dir_ / "missing" / "out.s2p").string();
    const FileResult result = WriteFileAtomically(path, "data");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, path + ": " + std::strerror(ENOENT));

    const FileResult onDirectory = WriteFileAtomically(dir_.string(), "data");
    EXPECT_FALSE(onDirectory.Ok);
    EXPECT_NE(onDirectory.Error.find(std::strerror(EISDIR)), std::string::npos) << onDirectory.Error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 0) << "temporary left";
}

// Root may create files in /dev: a device named as the target is written to, never replaced.
TEST_F(AtomicFile, DevicesAreWrittenToNotReplaced) {
    EXPECT_TRUE(WriteFileAtomically("/dev/null", "data").Ok);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    const FileResult full = WriteFileAtomically("/dev/full", "data");
    EXPECT_FALSE(full.Ok);
    EXPECT_EQ(full.Error, std::string("/dev/full: ") + std::strerror(ENOSPC));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(AtomicFile, ReplacesWholeAndReadsBackBounded) {
    const std::string path = (dir_ / "out.csv").string();
    ASSERT_TRUE(WriteFileAtomically(path, "a much longer first version\n").Ok);
    ASSERT_TRUE(WriteFileAtomically(path, "short\n").Ok);
    EXPECT_EQ(ReadRegularFile(path, 100), "short\n");
    EXPECT_EQ(ReadRegularFile(path, 3), "sho");
    EXPECT_EQ(ReadRegularFile((dir_ / "none").string(), 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir_.string(), 100), std::nullopt);
}

}  // namespace
}  // namespace veltrix
