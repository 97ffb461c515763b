#include "files/user_file.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
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

uid_t NobodyUid() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}

gid_t NobodyGid() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? nobody->pw_gid : 65534;
}

std::string Owner(const fs::path& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return "no owner";
    return st.st_uid == 0 ? "owner root" : st.st_uid == NobodyUid() ? "owner nobody" : "owner other";
}

// Making another user's file and folder takes root; without it those rows are skipped.
std::optional<std::string> WithoutRoot() {
    if (geteuid() == 0) return std::nullopt;
    return std::string("SKIP: making another user's files needs root");
}

// A folder of nobody's own inside the test's folder, holding one file of the given owner and mode.
fs::path NobodysFolderWith(const fs::path& dir, const std::string& name, bool nobodysFile, fs::perms mode) {
    const fs::path folder = dir / "nobody";
    fs::create_directory(folder);
    Put(folder / name, "old contents\n");
    fs::permissions(folder / name, mode);
    if (nobodysFile) (void)!chown((folder / name).c_str(), NobodyUid(), NobodyGid());
    (void)!chown(folder.c_str(), NobodyUid(), NobodyGid());
    return folder;
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
    {"ReadOnlyFileOfTheUserIsRefused",
     [](const fs::path& dir) {
         if (auto skip = WithoutRoot()) return *skip;
         const fs::path folder = NobodysFolderWith(
             dir, "ro.s2p", true, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
         const std::string outcome = Outcome(WriteUserFile(folder / "ro.s2p", kData));
         return outcome + "; " + Untouched(folder / "ro.s2p") + "; " + Owner(folder / "ro.s2p") + "; " +
                Listing(folder);
     },
     [](const fs::path& dir) {
         return (dir / "nobody/ro.s2p").string() + ": " + Reason(EACCES) +
                "; old contents kept; owner nobody; ro.s2p";
     }},
    {"AnotherUsersReadOnlyFileIsRefused",
     [](const fs::path& dir) {
         if (auto skip = WithoutRoot()) return *skip;
         const fs::path folder = NobodysFolderWith(
             dir, "root.s2p", false,
             fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
         if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
         const std::string outcome = Outcome(WriteUserFile(folder / "root.s2p", kData));
         return outcome + "; " + Untouched(folder / "root.s2p") + "; " + Owner(folder / "root.s2p") + "; " +
                Listing(folder);
     },
     [](const fs::path& dir) {
         return (dir / "nobody/root.s2p").string() + ": " + Reason(EACCES) +
                "; old contents kept; owner root; root.s2p";
     }},
    {"AnotherUsersWritableFileKeepsItsOwner",
     [](const fs::path& dir) {
         if (auto skip = WithoutRoot()) return *skip;
         const fs::path folder =
             NobodysFolderWith(dir, "root.s2p", false,
                               fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
         if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
         const std::string outcome = Outcome(WriteUserFile(folder / "root.s2p", kData));
         return outcome + "; " + HoldsData(folder / "root.s2p") + "; " + Owner(folder / "root.s2p") + "; " +
                Listing(folder);
     },
     [](const fs::path&) { return std::string("ok; holds the data; owner root; root.s2p"); }},
    {"AnotherUsersFileInAStickySharedFolder",
     [](const fs::path& dir) {
         if (auto skip = WithoutRoot()) return *skip;
         const fs::path folder = dir / "shared";
         fs::create_directory(folder);
         fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
         Put(folder / "team.s2p", "old contents\n");
         fs::permissions(folder / "team.s2p", fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::group_write |
                                                  fs::perms::others_read | fs::perms::others_write);
         if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
         const std::string outcome = Outcome(WriteUserFile(folder / "team.s2p", kData));
         return outcome + "; " + HoldsData(folder / "team.s2p") + "; " + Owner(folder / "team.s2p") + "; " +
                Listing(folder);
     },
     [](const fs::path&) { return std::string("ok; holds the data; owner root; team.s2p"); }},
    {"LinkLoopIsReported",
     [](const fs::path& dir) {
         fs::create_symlink("b.s2p", dir / "a.s2p");
         fs::create_symlink("a.s2p", dir / "b.s2p");
         const std::string outcome = Outcome(WriteUserFile(dir / "a.s2p", kData));
         return outcome + "; " + Kind(dir / "a.s2p") + " " + Kind(dir / "b.s2p") + "; " + Listing(dir);
     },
     [](const fs::path& dir) {
         return (dir / "a.s2p").string() + ": " + Reason(ELOOP) + "; link link; a.s2p b.s2p";
     }},
    {"LinkToAFileNotThereYetMakesIt",
     [](const fs::path& dir) {
         fs::create_symlink("made.s2p", dir / "link.s2p");
         const std::string outcome = Outcome(WriteUserFile(dir / "link.s2p", kData));
         return outcome + "; " + Kind(dir / "link.s2p") + "; made " + HoldsData(dir / "made.s2p") + "; " +
                Listing(dir);
     },
     [](const fs::path&) { return std::string("ok; link; made holds the data; link.s2p made.s2p"); }},
    {"ProtectedLinkInAStickySharedFolder",
     [](const fs::path& dir) {
         if (auto skip = WithoutRoot()) return *skip;
         if (Slurp("/proc/sys/fs/protected_symlinks") != "1\n")
             return std::string("SKIP: fs.protected_symlinks is not 1 on this system");
         const fs::path folder = dir / "shared";
         fs::create_directory(folder);
         fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
         Put(dir / "precious.s2p", "old contents\n");
         fs::create_symlink(dir / "precious.s2p", folder / "planted.s2p");
         // A link someone else planted in a shared folder is not followed, root or not.
         (void)!lchown((folder / "planted.s2p").c_str(), NobodyUid(), NobodyGid());
         const std::string outcome = Outcome(WriteUserFile(folder / "planted.s2p", kData));
         return outcome + "; " + Untouched(dir / "precious.s2p") + "; " + Kind(folder / "planted.s2p");
     },
     [](const fs::path& dir) {
         return (dir / "shared/planted.s2p").string() + ": " + Reason(EACCES) + "; old contents kept; link";
     }},
    {"DescriptorsOpenedByTheProgramAreNotTheUsers",
     [](const fs::path& dir) {
         const fs::path path = dir / "own.dat";
         Put(path, "old contents\n");
         const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
         const std::string byDev = "/dev/fd/" + std::to_string(fd);
         const std::string byProc = "/proc/self/fd/" + std::to_string(fd);
         std::string outcomes =
             Outcome(WriteUserFile(byDev, kData)) + "; " + Outcome(WriteUserFile(byProc, kData));
         close(fd);
         for (const std::string& name : {byDev, byProc})
             outcomes.replace(outcomes.find(name), name.size(), name.substr(0, name.rfind('/')) + "/N");
         return outcomes + "; " + Untouched(path);
     },
     [](const fs::path&) {
         return "/dev/fd/N: " + Reason(EBADF) + "; /proc/self/fd/N: " + Reason(EBADF) + "; old contents kept";
     }},
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
            if (!entry.is_symlink() && entry.is_directory())
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

// A child process that reports a line of text when it ends; the test may let it run, or hold it
// as it enters a system call (as `strace -e inject=CALL:delay_enter=` holds a process) and later
// release it, with a signal if asked.
class Child {
  public:
    explicit Child(const std::function<std::string()>& run, long heldAtCall = -1) {
        if (pipe(report_) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(report_[0]);
            if (heldAtCall >= 0) {
                ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
                raise(SIGSTOP);
            }
            const std::string said = run();
            (void)!write(report_[1], said.data(), said.size());
            _exit(0);
        }
        close(report_[1]);
        if (heldAtCall >= 0) HoldAt(heldAtCall);
    }
    ~Child() {
        if (pid_ > 0 && !finished_) {
            kill(pid_, SIGKILL);
            Finish();
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Held() const { return held_; }

    // Sends the signal, if any, and lets the held child go on.
    void Release(int signal = 0) {
        if (!held_) return;
        if (signal != 0) kill(pid_, signal);
        ptrace(PTRACE_DETACH, pid_, nullptr, nullptr);
        held_ = false;
    }

    bool EndsWithin(std::chrono::milliseconds time) {
        pollfd end{report_[0], POLLIN, 0};
        return poll(&end, 1, static_cast<int>(time.count())) > 0;
    }

    // What the child said, or how it ended when it said nothing.
    std::string Finish() {
        std::string said;
        char buffer[4096];
        for (ssize_t got; (got = read(report_[0], buffer, sizeof buffer)) > 0;) said.append(buffer, got);
        close(report_[0]);
        int status = 0;
        waitpid(pid_, &status, 0);
        finished_ = true;
        if (WIFSIGNALED(status)) return said + "ended by " + std::string(strsignal(WTERMSIG(status)));
        return said;
    }

  private:
    void HoldAt(long call) {
        int status = 0;
        waitpid(pid_, &status, 0);
        ptrace(PTRACE_SETOPTIONS, pid_, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
        int passOn = 0;
        for (;;) {
            ptrace(PTRACE_SYSCALL, pid_, nullptr, passOn);
            passOn = 0;
            if (waitpid(pid_, &status, 0) != pid_ || !WIFSTOPPED(status)) return;
            if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
                passOn = WSTOPSIG(status);
                continue;
            }
            __ptrace_syscall_info info{};
            ptrace(PTRACE_GET_SYSCALL_INFO, pid_, sizeof info, &info);
            if (info.op == PTRACE_SYSCALL_INFO_ENTRY && static_cast<long>(info.entry.nr) == call) {
                held_ = true;
                return;
            }
        }
    }

    pid_t pid_ = -1;
    int report_[2] = {-1, -1};
    bool held_ = false;
    bool finished_ = false;
};

class WriterProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-writers-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::permissions(dir_, fs::perms::all);
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            if (!entry.is_symlink() && entry.is_directory())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

std::string WholeOutput(const fs::path& path, const std::string& first, const std::string& second) {
    const std::string now = Slurp(path);
    if (now == first) return "the first output whole";
    if (now == second) return "the second output whole";
    return "a mixture of " + std::to_string(now.size()) + " bytes";
}

// Two writers of one file in a folder that takes no temporary: the first is held just before it
// sets the file's length, as a slow disk or a busy machine may hold it, while the second writes.
TEST_F(WriterProcesses, TwoWritingInPlaceAtOnceLeaveOneWholeOutput) {
    const fs::path folder = dir_ / "shared";
    fs::create_directory(folder);
    const fs::path file = folder / "out.s2p";
    Put(file, "old contents\n");
    fs::permissions(file, fs::perms::all);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const std::string longer = kData + kData + kData;
    const std::string shorter = kData.substr(0, 1000);
    const auto writer = [&file](const std::string& data) {
        return [&file, data] {
            if (!BecomeOrdinaryUser()) return "SKIP: cannot give up root (" + Reason(errno) + ")";
            return Outcome(WriteUserFile(file, data));
        };
    };
    Child first(writer(longer), SYS_ftruncate);
    if (!first.Held()) GTEST_SKIP() << "cannot hold a child process here: " << first.Finish();
    Child second(writer(shorter));
    // The second waits for the first as long as it is held; it is given a moment to show it.
    const bool secondEndedFirst = second.EndsWithin(std::chrono::milliseconds(500));
    first.Release();
    const std::string outcomes = first.Finish() + "; " + second.Finish();
    if (outcomes.find("SKIP: ") != std::string::npos) GTEST_SKIP() << outcomes;
    EXPECT_EQ(outcomes + "; " + WholeOutput(file, longer, shorter), "ok; ok; the second output whole");
    EXPECT_FALSE(secondEndedFirst);
}

struct InterruptionCase {
    const char* name;
    int signal;
    // Without /proc no unnamed temporary can be given a name: a named one is used.
    bool withoutProc;
};

void PrintTo(const InterruptionCase& interruption, std::ostream* out) { *out << interruption.name; }

class InterruptedWriter : public WriterProcesses, public ::testing::WithParamInterface<InterruptionCase> {};

TEST_P(InterruptedWriter, LeavesTheOldFileAndNoTemporary) {
    const InterruptionCase& interruption = GetParam();
    const fs::path file = dir_ / "out.s2p";
    Put(file, "old contents\n");
    const std::string data = kData + kData + kData;
    Child writer(
        [&] {
            if (interruption.withoutProc) {
                if (unshare(CLONE_NEWNS) != 0 ||
                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                    mount("tmpfs", "/proc", "tmpfs", 0, "size=4k") != 0)
                    return "SKIP: cannot hide /proc (" + Reason(errno) + ")";
            }
            return Outcome(WriteUserFile(file, data));
        },
        SYS_fsync);
    if (!writer.Held()) GTEST_SKIP() << "cannot hold the writer: " << writer.Finish();
    writer.Release(interruption.signal);
    const std::string outcome = writer.Finish();
    if (outcome.rfind("SKIP: ", 0) == 0) GTEST_SKIP() << outcome.substr(6);
    EXPECT_EQ(outcome + "; " + Untouched(file) + "; " + Listing(dir_),
              "ended by " + std::string(strsignal(interruption.signal)) + "; old contents kept; out.s2p");
}

const InterruptionCase kInterruptions[] = {
    {"InterruptWithUnnamedTemporary", SIGINT, false}, {"TerminateWithUnnamedTemporary", SIGTERM, false},
    {"HangUpWithUnnamedTemporary", SIGHUP, false},    {"InterruptWithNamedTemporary", SIGINT, true},
    {"TerminateWithNamedTemporary", SIGTERM, true},   {"HangUpWithNamedTemporary", SIGHUP, true},
};

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedWriter, ::testing::ValuesIn(kInterruptions),
                         [](const auto& info) { return std::string(info.param.name); });

// Stands for the window's wait: says how often it was asked and gives up after a number of times.
class CountedWait : public WaitForReader {
  public:
    explicit CountedWait(int answers) : answers_(answers) {}
    bool KeepWaiting(const std::string&) override { return ++asked_ < answers_; }
    void Finished() override { ++finished_; }
    int Asked() const { return asked_; }
    int FinishedCount() const { return finished_; }

  private:
    int answers_;
    int asked_ = 0;
    int finished_ = 0;
};

TEST_F(WriterProcesses, FifoWithoutReaderIsWaitedForUntilTheUserGivesUp) {
    const fs::path fifo = dir_ / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CountedWait wait(4);
    SetWaitForReader(&wait);
    const FileResult result = WriteUserFile(fifo, kData);
    SetWaitForReader(nullptr);
    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Error, fifo.string() + ": the wait for a reader was cancelled");
    EXPECT_EQ(wait.Asked(), 4);
    EXPECT_EQ(wait.FinishedCount(), 1);
}

TEST_F(WriterProcesses, FifoReaderThatComesOrStallsDuringTheWait) {
    const fs::path fifo = dir_ / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const bool reads : {true, false}) {
        SCOPED_TRACE(reads ? "a late reader that reads" : "a reader that never reads");
        std::string received;
        std::thread reader([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const int fd = open(fifo.c_str(), O_RDONLY);
            char chunk[4096];
            if (reads)
                for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) received.append(chunk, got);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(600));
            close(fd);
        });
        CountedWait wait(reads ? 1000 : 10);
        SetWaitForReader(&wait);
        const FileResult result = WriteUserFile(fifo, kData);
        SetWaitForReader(nullptr);
        reader.join();
        EXPECT_EQ(result.Ok, reads) << result.Error;
        EXPECT_EQ(result.Cancelled, !reads);
        EXPECT_EQ(received.size(), reads ? kData.size() : 0u);
        EXPECT_GT(wait.Asked(), 1);
    }
}

struct EscapeCase {
    const char* name;
    std::string text;
    std::string shown;
};

void PrintTo(const EscapeCase& escape, std::ostream* out) { *out << escape.name; }

class EscapedForMessageCase : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapedForMessageCase, ShowsWhatCannotBeShownAsEscapes) {
    EXPECT_EQ(EscapedForMessage(GetParam().text), GetParam().shown);
}

const EscapeCase kEscapes[] = {
    {"LettersAndSymbolsKept", "Fréquence 日本 \xf0\x9d\x84\x9e \xc2\xa0°",
     "Fréquence 日本 \xf0\x9d\x84\x9e \xc2\xa0°"},
    {"C0AndDelete", "t\t1\r\n\x1b[2J\x7f\\", "t\\t1\\r\\n\\x1b[2J\\x7f\\\\"},
    {"C1ControlSequenceIntroducer",
     "a\xc2\x9b"
     "31mb",
     "a\\u009b31mb"},
    {"C1NextLine", "a\xc2\x85z", "a\\u0085z"},
    {"LineAndParagraphSeparators", "a\xe2\x80\xa8z\xe2\x80\xa9", "a\\u2028z\\u2029"},
    {"BidiOverridesEmbeddingsAndMarks", "\xe2\x80\xae\xe2\x80\xaa\xe2\x80\x8f\xd8\x9c",
     "\\u202e\\u202a\\u200f\\u061c"},
    {"BidiIsolates", "\xe2\x81\xa6x\xe2\x81\xa9", "\\u2066x\\u2069"},
    {"LoneBytes", "bad \xff\xc3 end", "bad \\xff\\xc3 end"},
    {"Surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
    {"OverlongSlash", "\xe0\x80\xaf", "\\xe0\\x80\\xaf"},
    {"BeyondUnicode", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
    {"CutShort", "\xe2\x80", "\\xe2\\x80"},
};

INSTANTIATE_TEST_SUITE_P(Texts, EscapedForMessageCase, ::testing::ValuesIn(kEscapes),
                         [](const auto& info) { return std::string(info.param.name); });

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
