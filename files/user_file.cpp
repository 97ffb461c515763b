#include "files/user_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

namespace veltrix {
namespace {

FileResult Failure(const std::string& path, int error) {
    return {false, (path.empty() ? std::string("(no file name)") : EscapedForMessage(path)) + ": " +
                       std::strerror(error)};
}

FileResult Cancelled(const std::string& path) {
    return {false, EscapedForMessage(path) + ": the wait for a reader was cancelled", true};
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> LinkText(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0) return std::nullopt;
    return std::string(target, static_cast<size_t>(length));
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool IsFifo(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// ---- The descriptors the program was started with: the only ones a user can mean.

std::vector<int> DescriptorsOpenNow() {
    std::vector<int> open;
    if (DIR* listing = opendir("/proc/self/fd")) {
        const int own = dirfd(listing);
        while (const dirent* entry = readdir(listing)) {
            if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
            const int fd = std::atoi(entry->d_name);
            if (fd != own) open.push_back(fd);
        }
        closedir(listing);
    } else {
        for (int fd = 0; fd < 1024; ++fd)
            if (fcntl(fd, F_GETFD) != -1) open.push_back(fd);
    }
    return open;
}

const std::vector<int>& StartingDescriptors() {
    static const std::vector<int> started = DescriptorsOpenNow();
    return started;
}

// Taken as the program loads, before it opens a window, a connection or a file of its own.
[[maybe_unused]] const bool kStartingDescriptorsTaken = !StartingDescriptors().empty() || true;

bool StartedWith(int fd) {
    const std::vector<int>& started = StartingDescriptors();
    return std::find(started.begin(), started.end(), fd) != started.end();
}

// The process's descriptor that a name in /proc/PID/fd (or a thread's) stands for; such a link's
// text ("pipe:[1234]", or the name a redirected file once had) is no path to write to.
std::optional<int> OwnDescriptorNamedBy(const std::string& path) {
    char* real = realpath(DirectoryOf(path).c_str(), nullptr);
    if (real == nullptr) return std::nullopt;
    const std::string folder(real);
    std::free(real);
    const std::string process = "/proc/" + std::to_string(getpid());
    const bool ownFolder = folder == process + "/fd" || (folder.rfind(process + "/task/", 0) == 0 &&
                                                         folder.size() > 3 && folder.ends_with("/fd"));
    if (!ownFolder) return std::nullopt;
    const std::string name = BaseNameOf(path);
    if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(name);
}

struct LinkEnd {
    std::string Path;               // the file the chain of links ends at
    std::optional<int> Descriptor;  // set when the chain passes through one of our descriptors
};

LinkEnd FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        if (const auto descriptor = OwnDescriptorNamedBy(current)) return {current, descriptor};
        if (!IsSymbolicLink(current)) return {current, std::nullopt};
        const auto next = LinkText(current);
        if (!next) return {current, std::nullopt};
        current = next->front() == '/' ? *next : DirectoryOf(current) + "/" + *next;
    }
    // A chain that loops or is too long is left to the system, which reports it.
    return {path, std::nullopt};
}

// ---- Writing to a descriptor.

// A reader that goes away must give an error to report, not a signal that ends the program.
class SigpipeHeldBack {
  public:
    SigpipeHeldBack() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &old_);
    }
    ~SigpipeHeldBack() {
        if (!wasPending_) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    SigpipeHeldBack(const SigpipeHeldBack&) = delete;
    SigpipeHeldBack& operator=(const SigpipeHeldBack&) = delete;

  private:
    sigset_t old_{};
    bool wasPending_ = false;
};

// 0 on success, else the system's error number.
int WriteAll(int fd, std::string_view contents) {
    SigpipeHeldBack held;
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

int PositionalWriteAll(int fd, std::string_view contents) {
    off_t offset = 0;
    while (!contents.empty()) {
        const ssize_t written = pwrite(fd, contents.data(), contents.size(), offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        contents.remove_prefix(static_cast<size_t>(written));
        offset += written;
    }
    return 0;
}

int OpenForWriting(const std::string& path, int flags, mode_t mode = 0666) {
    for (;;) {
        const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags, mode);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

// Close reports late write errors (a full disk over NFS, for one); the first error wins.
int CloseKeeping(int fd, int error) {
    const int closed = close(fd);
    return error != 0 ? error : (closed != 0 ? errno : 0);
}

FileResult Outcome(const std::string& path, int error) {
    return error == 0 ? FileResult{} : Failure(path, error);
}

// Standard output and the like are written after whatever the program printed to them before,
// so a report and a file sent to the same place both arrive, in order.
FileResult WriteToOwnDescriptor(const std::string& path, int descriptor, std::string_view contents) {
    struct stat st {};
    if (fstat(descriptor, &st) != 0) return Failure(path, errno);
    if (S_ISDIR(st.st_mode)) return Failure(path, EISDIR);
    std::fflush(nullptr);
    return Outcome(path, WriteAll(descriptor, contents));
}

// A device or terminal, opened without waiting, is then written to as the shell writes to it.
FileResult WriteToDevice(const std::string& path, int fd, std::string_view contents) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return Outcome(path, CloseKeeping(fd, WriteAll(fd, contents)));
}

std::atomic<WaitForReader*> gWaitForReader{nullptr};

class ReaderWaitSession {
  public:
    explicit ReaderWaitSession(WaitForReader& wait) : wait_(wait) {}
    ~ReaderWaitSession() { wait_.Finished(); }
    ReaderWaitSession(const ReaderWaitSession&) = delete;
    ReaderWaitSession& operator=(const ReaderWaitSession&) = delete;

  private:
    WaitForReader& wait_;
};

void Pause(int fd) {
    pollfd ready{fd, POLLOUT, 0};
    poll(fd >= 0 ? &ready : nullptr, fd >= 0 ? 1 : 0, 50);
}

// A FIFO as the shell writes one: its reader is waited for, and every byte is given to it. With a
// wait the user can end, nothing blocks for more than a moment between the user's answers.
FileResult WriteToFifo(const std::string& path, int fd, std::string_view contents) {
    WaitForReader* wait = gWaitForReader.load();
    if (wait == nullptr) {
        if (fd < 0) fd = OpenForWriting(path, 0);
        if (fd < 0) return Failure(path, errno);
        return WriteToDevice(path, fd, contents);
    }
    ReaderWaitSession session(*wait);
    while (fd < 0) {
        fd = OpenForWriting(path, O_NONBLOCK);
        if (fd >= 0) break;
        if (errno != ENXIO) return Failure(path, errno);
        if (!wait->KeepWaiting(path)) return Cancelled(path);
        Pause(-1);
    }
    SigpipeHeldBack held;
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written >= 0) {
            contents.remove_prefix(static_cast<size_t>(written));
            continue;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return Outcome(path, CloseKeeping(fd, errno));
        if (!wait->KeepWaiting(path)) {
            close(fd);
            return Cancelled(path);
        }
        Pause(fd);
    }
    return Outcome(path, CloseKeeping(fd, 0));
}

// ---- Temporaries: removed when the program is interrupted while one has a name.

constexpr std::array<int, 3> kInterruptions{SIGINT, SIGTERM, SIGHUP};

struct TemporaryName {
    std::atomic<bool> Claimed{false};  // by one writer
    std::atomic<bool> Used{false};     // the name is complete and its file exists
    char Name[PATH_MAX]{};
};
std::array<TemporaryName, 8> gTemporaryNames;
std::mutex gHandlersMutex;
int gHandlerUsers = 0;
std::array<bool, kInterruptions.size()> gHandlerInstalled{};

extern "C" void RemoveTemporariesAndStop(int signal) {
    for (TemporaryName& temporary : gTemporaryNames)
        if (temporary.Used.load()) unlink(temporary.Name);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    raise(signal);
}

// The interruptions held back for a moment, so a name is never made without being listed.
class InterruptionsHeldBack {
  public:
    InterruptionsHeldBack() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kInterruptions) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &old_);
    }
    ~InterruptionsHeldBack() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    InterruptionsHeldBack(const InterruptionsHeldBack&) = delete;
    InterruptionsHeldBack& operator=(const InterruptionsHeldBack&) = delete;

  private:
    sigset_t old_{};
};

// Only an interruption that would end the program is caught: one the program handles or ignores
// itself is left to it.
void CatchInterruptions() {
    std::lock_guard lock(gHandlersMutex);
    if (gHandlerUsers++ > 0) return;
    for (size_t i = 0; i < kInterruptions.size(); ++i) {
        struct sigaction current {};
        sigaction(kInterruptions[i], nullptr, &current);
        gHandlerInstalled[i] = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (!gHandlerInstalled[i]) continue;
        struct sigaction remover {};
        remover.sa_handler = RemoveTemporariesAndStop;
        sigemptyset(&remover.sa_mask);
        for (const int signal : kInterruptions) sigaddset(&remover.sa_mask, signal);
        sigaction(kInterruptions[i], &remover, nullptr);
    }
}

void ReleaseInterruptions() {
    std::lock_guard lock(gHandlersMutex);
    if (--gHandlerUsers > 0) return;
    for (size_t i = 0; i < kInterruptions.size(); ++i) {
        if (!gHandlerInstalled[i]) continue;
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        sigemptyset(&standard.sa_mask);
        sigaction(kInterruptions[i], &standard, nullptr);
    }
}

mode_t CreationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool CanLinkUnnamedFiles() { return access("/proc/self/fd", X_OK) == 0; }

std::string DescriptorName(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The new contents before they take the file's name. Unnamed (O_TMPFILE) where the file system
// allows and the name can be given afterwards; else a hidden name beside the file, listed for
// removal should the program be interrupted.
class Temporary {
  public:
    Temporary(const std::string& folder, const std::string& target) : folder_(folder), target_(target) {
        if (CanLinkUnnamedFiles()) {
            fd_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
            if (fd_ >= 0) return;
            error_ = errno;
            // Only a file system without unnamed files tries a named one.
            if (error_ != EOPNOTSUPP && error_ != EISDIR && error_ != EINVAL) return;
        }
        // A hidden name, cut short so that a long file name still leaves room for the suffix.
        name_ = folder + "/." + BaseNameOf(target).substr(0, 200) + ".XXXXXX";
        InterruptionsHeldBack held;
        // mkstemp creates with O_EXCL: a link planted under the chosen name makes it pick another.
        fd_ = mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            name_.clear();
            return;
        }
        error_ = 0;
        List();
    }
    ~Temporary() {
        if (fd_ >= 0) close(fd_);
        if (!name_.empty()) {
            InterruptionsHeldBack held;
            unlink(name_.c_str());
            Unlist();
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int Fd() const { return fd_; }
    int Error() const { return error_; }

    // Gives the finished file the target's name: 0, or the system's error number.
    int Publish(bool replacing) {
        InterruptionsHeldBack held;
        if (name_.empty()) {
            const std::string unnamed = DescriptorName(fd_);
            if (!replacing) {
                return linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0
                           ? 0
                           : errno;
            }
            // A link cannot replace a file: the whole file is linked under a hidden name first.
            for (int attempt = 0; attempt < 100; ++attempt) {
                std::string hidden = folder_ + "/." + BaseNameOf(target_).substr(0, 200) + "." +
                                     std::to_string(getpid()) + "-" + std::to_string(attempt);
                if (linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                    if (errno == EEXIST) continue;
                    return errno;
                }
                if (rename(hidden.c_str(), target_.c_str()) == 0) return 0;
                const int error = errno;
                unlink(hidden.c_str());
                return error;
            }
            return EEXIST;
        }
        if (rename(name_.c_str(), target_.c_str()) != 0) return errno;
        Unlist();
        name_.clear();
        return 0;
    }

  private:
    void List() {
        CatchInterruptions();
        listed_ = true;
        if (name_.size() >= PATH_MAX) return;
        for (size_t i = 0; i < gTemporaryNames.size(); ++i) {
            TemporaryName& entry = gTemporaryNames[i];
            bool free = false;
            if (!entry.Claimed.compare_exchange_strong(free, true)) continue;
            std::memcpy(entry.Name, name_.c_str(), name_.size() + 1);
            entry.Used = true;
            slot_ = static_cast<int>(i);
            return;
        }
    }
    void Unlist() {
        if (slot_ >= 0) {
            gTemporaryNames[static_cast<size_t>(slot_)].Used = false;
            gTemporaryNames[static_cast<size_t>(slot_)].Claimed = false;
        }
        slot_ = -1;
        if (listed_) ReleaseInterruptions();
        listed_ = false;
    }

    std::string folder_;
    std::string target_;
    std::string name_;
    int fd_ = -1;
    int error_ = 0;
    int slot_ = -1;
    bool listed_ = false;
};

// ---- Regular files.

// Without a temporary of its own the file is rewritten where it is, under a lock so that another
// writer doing the same waits for this one. Its whole new size is reserved first: when the disk
// cannot hold it, nothing of the old contents has been touched yet.
FileResult WriteInPlace(const std::string& path, int fd, std::string_view contents) {
    // A file system without locks is written all the same, as any editor would.
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) return Outcome(path, CloseKeeping(fd, errno));
    if (!contents.empty()) {
        const int reserved = posix_fallocate(fd, 0, static_cast<off_t>(contents.size()));
        // A file system that cannot reserve is written all the same.
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            struct stat now {};
            if (fstat(fd, &now) == 0 && now.st_size != st.st_size) {
                [[maybe_unused]] const int ignored = ftruncate(fd, st.st_size);
            }
            close(fd);
            return Failure(path, reserved);
        }
    }
    int error = PositionalWriteAll(fd, contents);
    if (error == 0 && ftruncate(fd, static_cast<off_t>(contents.size())) != 0) error = errno;
    if (error == 0 && fsync(fd) != 0) error = errno;
    return Outcome(path, CloseKeeping(fd, error));
}

// The name the open file has now, as the kernel resolved it, checked to still be that file.
std::optional<std::string> NameOfOpenFile(int fd, const struct stat& opened, const std::string& path) {
    const auto names = [&](const std::string& name) {
        struct stat now {};
        return lstat(name.c_str(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino;
    };
    if (const auto kernel = LinkText(DescriptorName(fd)); kernel && kernel->front() == '/' && names(*kernel))
        return kernel;
    if (const std::string followed = FollowLinks(path).Path; names(followed)) return followed;
    return std::nullopt;
}

void SyncFolder(const std::string& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

bool FolderRefuses(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// The file opened for writing is replaced by a new one of the same mode and owner; where that
// cannot be, it is written in place. `created` is a file this writer made empty a moment ago.
FileResult ReplaceOpenFile(const std::string& path, int fd, const struct stat& old, bool created,
                           std::string_view contents) {
    const std::optional<std::string> name = NameOfOpenFile(fd, old, path);
    // Another user's file stays theirs: only root can give a new file to its owner.
    if (!name || (old.st_uid != geteuid() && geteuid() != 0)) return WriteInPlace(path, fd, contents);
    int error = 0;
    {
        Temporary temporary(DirectoryOf(*name), *name);
        if (temporary.Fd() < 0) {
            if (FolderRefuses(temporary.Error())) return WriteInPlace(path, fd, contents);
            error = temporary.Error();
        }
        if (error == 0 && (old.st_uid != geteuid() || old.st_gid != getegid()) &&
            fchown(temporary.Fd(), old.st_uid, old.st_gid) != 0) {
            return WriteInPlace(path, fd, contents);
        }
        if (error == 0 && fchmod(temporary.Fd(), created ? CreationMode() : (old.st_mode & 07777)) != 0)
            error = errno;
        if (error == 0) error = WriteAll(temporary.Fd(), contents);
        if (error == 0 && fsync(temporary.Fd()) != 0) error = errno;
        if (error == 0) {
            error = temporary.Publish(true);
            // A shared folder (sticky) lets only the file's owner replace it.
            if (error == EPERM) return WriteInPlace(path, fd, contents);
        }
    }
    close(fd);
    if (error != 0) {
        if (created) unlink(name->c_str());
        return Failure(path, error);
    }
    SyncFolder(DirectoryOf(*name));
    return {};
}

FileResult WriteNewFile(const std::string& path, std::string_view contents) {
    int error = 0;
    {
        Temporary temporary(DirectoryOf(path), path);
        error = temporary.Error();
        if (error == 0 && fchmod(temporary.Fd(), CreationMode()) != 0) error = errno;
        if (error == 0) error = WriteAll(temporary.Fd(), contents);
        if (error == 0 && fsync(temporary.Fd()) != 0) error = errno;
        if (error == 0) error = temporary.Publish(false);
    }
    if (error != 0) return Failure(path, error);
    SyncFolder(DirectoryOf(path));
    return {};
}

// ---- Messages.

// The length of the well-formed UTF-8 sequence at `at`, or 0: no overlong forms, no surrogates,
// nothing past U+10FFFF.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    }
    if (length == 0 || at + length > text.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xc0) != 0x80) return 0;
    return length;
}

char32_t CodePoint(std::string_view sequence) {
    const auto byte = [&](size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(sequence[i]));
    };
    switch (sequence.size()) {
        case 2:
            return (byte(0) & 0x1f) << 6 | (byte(1) & 0x3f);
        case 3:
            return (byte(0) & 0x0f) << 12 | (byte(1) & 0x3f) << 6 | (byte(2) & 0x3f);
        default:
            return (byte(0) & 0x07) << 18 | (byte(1) & 0x3f) << 12 | (byte(2) & 0x3f) << 6 | (byte(3) & 0x3f);
    }
}

// Characters that move or hide text rather than show it: the C1 controls, the bidi marks,
// embeddings, overrides and isolates, and the line and paragraph separators.
bool ControlsTheText(char32_t c) {
    return (c >= 0x80 && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

void SetWaitForReader(WaitForReader* wait) { gWaitForReader = wait; }

std::string EscapedForMessage(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            if (const size_t length = Utf8SequenceLength(text, i)) {
                const std::string_view sequence = text.substr(i, length);
                if (const char32_t c = CodePoint(sequence); ControlsTheText(c)) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    shown += escaped;
                } else {
                    shown.append(sequence);
                }
                i += length;
                continue;
            }
        }
        switch (byte) {
            case '\n':
                shown += "\\n";
                break;
            case '\r':
                shown += "\\r";
                break;
            case '\t':
                shown += "\\t";
                break;
            case '\\':
                shown += "\\\\";
                break;
            default:
                if (byte < 0x20 || byte == 0x7f || byte >= 0x80) {
                    char escaped[5];
                    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
                    shown += escaped;
                } else {
                    shown += static_cast<char>(byte);
                }
        }
        ++i;
    }
    return shown;
}

FileResult WriteUserFile(const std::string& path, std::string_view contents) {
    if (path.empty()) return Failure(path, ENOENT);
    if (const std::optional<int> descriptor = FollowLinks(path).Descriptor) {
        // One the program opened itself (a window's connection, a file it reads) is no user's.
        if (!StartedWith(*descriptor)) return Failure(path, EBADF);
        return WriteToOwnDescriptor(path, *descriptor, contents);
    }
    // Opened first as the shell opens it, though not yet emptied: the kernel checks the permission,
    // the link protections and loops, and a FIFO without a reader says so instead of waiting.
    int fd = OpenForWriting(path, O_NONBLOCK);
    bool created = false;
    if (fd < 0) {
        const int error = errno;
        if (error == ENXIO && IsFifo(path)) return WriteToFifo(path, -1, contents);
        if (error != ENOENT) return Failure(path, error);
        if (!IsSymbolicLink(path)) return WriteNewFile(path, contents);
        // A link to a file not there yet: the file is made where the link points, as the shell does.
        fd = OpenForWriting(path, O_NONBLOCK | O_CREAT);
        if (fd < 0) return Failure(path, errno);
        created = true;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) return Outcome(path, CloseKeeping(fd, errno));
    if (S_ISFIFO(st.st_mode)) return WriteToFifo(path, fd, contents);
    if (!S_ISREG(st.st_mode)) return WriteToDevice(path, fd, contents);
    return ReplaceOpenFile(path, fd, st, created, contents);
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a FIFO with no writer must not wait for one.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    std::string data(maxBytes, '\0');
    size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t got = read(fd, data.data() + filled, maxBytes - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    close(fd);
    data.resize(filled);
    return data;
}

}  // namespace veltrix
