#include "files/user_file.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace veltrix {
namespace {

namespace fs = std::filesystem;

std::string Reason(int error) { return std::strerror(error); }

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Kind(const fs::path& path) {
    const auto status = fs::symlink_status(path);
    if (fs::is_symlink(status)) return "link";
    if (fs::is_regular_file(status)) return "file";
    if (fs::is_fifo(status)) return "fifo";
    if (fs::is_character_file(status)) return "device";
    return fs::exists(status) ? "other" : "missing";
}

std::string Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

// A payload larger than a pipe's buffer and than the small file systems below, with a line break at
// its end so that a cut is visible.
const std::string kData = [] {
    std::string data;
    for (int i = 0; data.size() < 200 * 1024; ++i)
        data += "! " + std::to_string(i) + " S 200 Hz 1.0e6 MA R 50\n";
    return data;
}();

std::string Outcome(const FileResult& result) { return result.Ok ? "ok" : result.Error; }

// Runs a case in a child process of its own: it may redirect its standard output, mount a small
// file system in a private namespace or give up root, and none of it reaches the test runner.
std::string InChild(const std::function<std::string()>& run) {
    int report[2];
    if (pipe(report) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        const std::string said = run();
        (void)!write(report[1], said.data(), said.size());
        _exit(0);
    }
    close(report[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t got; (got = read(report[0], buffer, sizeof buffer)) > 0;) said.append(buffer, got);
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "child died: " + said;
    return said;
}

// A small tmpfs filled to the last block, in a mount namespace of the calling child's own.
std::string MountFullDisk(const fs::path& where) {
    if (unshare(CLONE_NEWNS) != 0) return "SKIP: no mount namespace here (" + Reason(errno) + ")";
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return "SKIP: mounts cannot be made private (" + Reason(errno) + ")";
    fs::create_directories(where);
    if (mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0)
        return "SKIP: cannot mount a small tmpfs (" + Reason(errno) + ")";
    return {};
}

void FillDisk(const fs::path& filler) {
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const std::string block(512, 'x');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    while (write(fd, "x", 1) > 0) {
    }
    close(fd);
}

// Root may write in any folder: a read-only folder holds only for an ordinary user.
bool BecomeOrdinaryUser() {
    if (geteuid() != 0) return true;
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    return setgroups(0, nullptr) == 0 && setresgid(gid, gid, gid) == 0 && setresuid(uid, uid, uid) == 0;
}

std::string Untouched(const fs::path& path) {
    const std::string now = Slurp(path);
    return now == "old contents\n" ? "old contents kept"
                                   : "left with " + std::to_string(now.size()) + " other bytes";
}

// Writes kData over a small file on a full disk, its folder read-only to an ordinary user if asked.
std::string RewriteOnFullDisk(const fs::path& disk, bool readOnlyFolder) {
    if (std::string skip = MountFullDisk(disk); !skip.empty()) return skip;
    Put(disk / "old.s2p", "old contents\n");
    fs::permissions(disk / "old.s2p", fs::perms::all);
    FillDisk(disk / "filler");
    if (readOnlyFolder) {
        fs::permissions(disk, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
        if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
    }
    const std::string outcome = Outcome(WriteUserFile(disk / "old.s2p", kData));
    return outcome + "; " + Untouched(disk / "old.s2p") + "; " + Listing(disk);
}

struct TargetCase {
    const char* name;
    // Prepares the target in the folder, writes kData to it and describes what is there afterwards.
    std::function<std::string(const fs::path& dir)> run;
    // The description expected, with DIR for the folder and REASON(...) spelled out by the table.
    std::function<std::string(const fs::path& dir)> expected;
};

std::string HoldsData(const fs::path& path) {
    return Slurp(path) == kData ? "holds the data" : "holds other bytes";
}

const TargetCase kTargets[] = {
    {"NewName",
     [](const fs::path& dir) {
         const fs::path path = dir / "3DR25-1000_U20.s2p";
         const std::string outcome = Outcome(WriteUserFile(path, kData));
         return outcome + "; " + Kind(path) + " " + HoldsData(path) + "; " + Listing(dir);
     },
     [](const fs::path&) { return std::string("ok; file holds the data; 3DR25-1000_U20.s2p"); }},
    {"ExistingFileKeepsItsMode",
     [](const fs::path& dir) {
         const fs::path path = dir / "veltrix.dat";
         Put(path, "old");
         fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         const std::string outcome = Outcome(WriteUserFile(path, kData));
         const auto mode = static_cast<int>(fs::status(path).permissions());
         return outcome + "; " + HoldsData(path) + "; mode " + std::to_string(mode) + "; " + Listing(dir);
     },
     [](const fs::path&) { return "ok; holds the data; mode " + std::to_string(0640) + "; veltrix.dat"; }},
    {"LinkIsWrittenThrough",
     [](const fs::path& dir) {
         Put(dir / "real.csv", "old");
         fs::create_symlink("real.csv", dir / "link.csv");
         const std::string outcome = Outcome(WriteUserFile(dir / "link.csv", kData));
         return outcome + "; " + Kind(dir / "link.csv") + "; real " + HoldsData(dir / "real.csv") + "; " +
                Listing(dir);
     },
     [](const fs::path&) { return std::string("ok; link; real holds the data; link.csv real.csv"); }},
    {"FifoWithALateSlowReader",
     [](const fs::path& dir) {
         const fs::path path = dir / "pipe";
         mkfifo(path.c_str(), 0600);
         std::string received;
         std::atomic<bool> finished = false;
         std::thread reader([&] {
             std::this_thread::sleep_for(std::chrono::milliseconds(500));
             const int fd = open(path.c_str(), O_RDONLY);
             char chunk[4096];
             for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) {
                 received.append(chunk, got);
                 std::this_thread::sleep_for(std::chrono::microseconds(200));
             }
             close(fd);
             finished = true;
         });
         const std::string outcome = Outcome(WriteUserFile(path, kData));
         // A writer that gave up early leaves the reader waiting for one: let it go.
         while (!finished) {
             const int release = open(path.c_str(), O_WRONLY | O_NONBLOCK);
             if (release >= 0) close(release);
             std::this_thread::sleep_for(std::chrono::milliseconds(50));
         }
         reader.join();
         return outcome + "; reader got " +
                (received == kData ? "the data" : std::to_string(received.size())) + "; " + Kind(path);
     },
     [](const fs::path&) { return std::string("ok; reader got the data; fifo"); }},
    {"StandardOutputAsAPipe",
     [](const fs::path&) {
         int out[2];
         if (pipe(out) != 0) return std::string("pipe failed");
         std::string received;
         std::thread reader([&] {
             char chunk[4096];
             for (ssize_t got; (got = read(out[0], chunk, sizeof chunk)) > 0;) received.append(chunk, got);
         });
         dup2(out[1], STDOUT_FILENO);
         close(out[1]);
         std::printf("report\n");
         const std::string outcome = Outcome(WriteUserFile("/dev/stdout", kData));
         std::printf("after\n");
         std::fflush(stdout);
         close(STDOUT_FILENO);
         reader.join();
         return outcome + "; " + (received == "report\n" + kData + "after\n" ? "in order" : "garbled");
     },
     [](const fs::path&) { return std::string("ok; in order"); }},
    {"StandardOutputRedirectedToAFile",
     [](const fs::path& dir) {
         const fs::path path = dir / "both.txt";
         const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
         dup2(fd, STDOUT_FILENO);
         close(fd);
         std::printf("report\n");
         const std::string outcome = Outcome(WriteUserFile("/dev/stdout", kData));
         std::printf("after\n");
         std::fflush(stdout);
         return outcome + "; " + (Slurp(path) == "report\n" + kData + "after\n" ? "in order" : "garbled") +
                "; " + Listing(dir);
     },
     [](const fs::path&) { return std::string("ok; in order; both.txt"); }},
    {"FullDevice",
     [](const fs::path&) {
         const std::string outcome = Outcome(WriteUserFile("/dev/full", kData));
         return outcome + "; " + Kind("/dev/full");
     },
     [](const fs::path&) { return "/dev/full: " + Reason(ENOSPC) + "; device"; }},
    {"FullDiskLeavesTheOldFile", [](const fs::path& dir) { return RewriteOnFullDisk(dir / "disk", false); },
     [](const fs::path& dir) {
         return (dir / "disk/old.s2p").string() + ": " + Reason(ENOSPC) +
                "; old contents kept; filler old.s2p";
     }},
    {"ReadOnlyFolderOnAFullDiskLeavesTheOldFile",
     [](const fs::path& dir) { return RewriteOnFullDisk(dir / "disk", true); },
     [](const fs::path& dir) {
         return (dir / "disk/old.s2p").string() + ": " + Reason(ENOSPC) +
                "; old contents kept; filler old.s2p";
     }},
    {"ReadOnlyFolderWithRoomIsWrittenInPlace",
     [](const fs::path& dir) {
         const fs::path folder = dir / "shared";
         fs::create_directory(folder);
         Put(folder / "old.s2p", "a longer old version of the file\n" + kData);
         fs::permissions(folder / "old.s2p", fs::perms::all);
         fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
         fs::permissions(dir, fs::perms::all);
         if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
         const std::string outcome = Outcome(WriteUserFile(folder / "old.s2p", kData));
         return outcome + "; " + HoldsData(folder / "old.s2p") + "; " + Listing(folder);
     },
     [](const fs::path&) { return std::string("ok; holds the data; old.s2p"); }},
    {"MissingFolderNamesThePathEscaped",
     [](const fs::path& dir) {
         const std::string outcome = Outcome(WriteUserFile(dir / "no\nsuch\x1b[31m" / "out.csv", kData));
         return outcome + "; " + Listing(dir);
     },
     [](const fs::path& dir) {
         return dir.string() + "/no\\nsuch\\x1b[31m/out.csv: " + Reason(ENOENT) + "; ";
     }},
    {"Folder",
     [](const fs::path& dir) {
         const std::string outcome = Outcome(WriteUserFile(dir, kData));
         return outcome + "; " + Listing(dir);
     },
     [](const fs::path& dir) { return dir.string() + ": " + Reason(EISDIR) + "; "; }},
};

void PrintTo(const TargetCase& target, std::ostream* out) { *out << target.name; }

class UserFileTarget : public ::testing::TestWithParam<TargetCase> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::permissions(dir_, fs::perms::all);
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            if (entry.is_directory())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_P(UserFileTarget, GivesTheDataOrNamesThePathAndReason) {
    const TargetCase& target = GetParam();
    const fs::path dir = dir_;
    const std::string seen = InChild([&] { return target.run(dir); });
    if (seen.rfind("SKIP: ", 0) == 0) GTEST_SKIP() << seen.substr(6);
    EXPECT_EQ(seen, target.expected(dir_));
}

INSTANTIATE_TEST_SUITE_P(Targets, UserFileTarget, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EscapedForMessage, ShowsControlsAndBrokenBytesAsEscapesAndKeepsLetters) {
    EXPECT_EQ(EscapedForMessage("Fréquence\t1\r\n\x1b[2J\x7f\\"), "Fréquence\\t1\\r\\n\\x1b[2J\\x7f\\\\");
    EXPECT_EQ(EscapedForMessage("bad \xff\xc3 end"), "bad \\xff\\xc3 end");
}

TEST(ReadRegularFile, ReadsBoundedAndRefusesWhatIsNoFile) {
    std::string pattern = (fs::temp_directory_path() / "veltrix-read-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    Put(dir / "short", "short\n");
    mkfifo((dir / "fifo").c_str(), 0600);
    EXPECT_EQ(ReadRegularFile(dir / "short", 100), "short\n");
    EXPECT_EQ(ReadRegularFile(dir / "short", 3), "sho");
    EXPECT_EQ(ReadRegularFile(dir / "none", 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir, 100), std::nullopt);
    EXPECT_EQ(ReadRegularFile(dir / "fifo", 100), std::nullopt);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
