#include "files/user_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace veltrix {
namespace {

FileResult Failure(const std::string& path, int error) {
    return {false, (path.empty() ? std::string("(no file name)") : EscapedForMessage(path)) + ": " +
                       std::strerror(error)};
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

int OpenForWriting(const std::string& path, int flags) {
    for (;;) {
        const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags);
        if (fd >= 0 || errno != EINTR) return fd;
    }
}

// Close reports late write errors (a full disk over NFS, for one); the first error wins.
int CloseKeeping(int fd, int error) {
    const int closed = close(fd);
    return error != 0 ? error : (closed != 0 ? errno : 0);
}

// Standard output and the like are written after whatever the program printed to them before,
// so a report and a file sent to the same place both arrive, in order.
FileResult WriteToOwnDescriptor(const std::string& path, int descriptor, std::string_view contents) {
    struct stat st {};
    if (fstat(descriptor, &st) != 0) return Failure(path, errno);
    if (S_ISDIR(st.st_mode)) return Failure(path, EISDIR);
    std::fflush(nullptr);
    const int error = WriteAll(descriptor, contents);
    return error == 0 ? FileResult{} : Failure(path, error);
}

// A device, FIFO or terminal is opened as a shell redirection opens it, waiting for a FIFO's
// reader, and written to; it is never replaced by a plain file.
FileResult WriteToDevice(const std::string& path, std::string_view contents) {
    const int fd = OpenForWriting(path, 0);
    if (fd < 0) return Failure(path, errno);
    const int error = CloseKeeping(fd, WriteAll(fd, contents));
    return error == 0 ? FileResult{} : Failure(path, error);
}

// Without a temporary beside it the file is rewritten where it is. Its whole new size is reserved
// first: when the disk cannot hold it, nothing of the old contents has been touched yet.
FileResult WriteInPlace(const std::string& path, const std::string& target, std::string_view contents,
                        int temporaryError) {
    const int fd = OpenForWriting(target, O_NONBLOCK);
    // Without a temporary and without the file itself, the reason to give is the folder's.
    if (fd < 0) return Failure(path, errno == ENOENT ? temporaryError : errno);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Failure(path, temporaryError);
    }
    if (!contents.empty()) {
        const int reserved = posix_fallocate(fd, 0, static_cast<off_t>(contents.size()));
        // A file system that cannot reserve is written all the same, as any editor would.
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
    error = CloseKeeping(fd, error);
    return error == 0 ? FileResult{} : Failure(path, error);
}

mode_t CreationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

FileResult ReplaceRegularFile(const std::string& path, const std::string& target, std::string_view contents) {
    // A hidden name, cut short so that a long file name still leaves room for the suffix.
    std::string temporary = DirectoryOf(target) + "/." + BaseNameOf(target).substr(0, 200) + ".XXXXXX";
    // mkstemp creates with O_EXCL: a link planted under the chosen name makes it pick another.
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS)
            return WriteInPlace(path, target, contents, error);
        return Failure(path, error);
    }
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    int error = 0;
    if (replacing && !S_ISREG(old.st_mode)) error = S_ISDIR(old.st_mode) ? EISDIR : EEXIST;
    if (error == 0 && fchmod(fd, replacing ? (old.st_mode & 07777) : CreationMode()) != 0) error = errno;
    if (error == 0 && replacing && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // Only root can give the file back to its owner; for anyone else the new file is theirs.
        [[maybe_unused]] const int ignored = fchown(fd, old.st_uid, old.st_gid);
    }
    if (error == 0) error = WriteAll(fd, contents);
    if (error == 0 && fsync(fd) != 0) error = errno;
    error = CloseKeeping(fd, error);
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return Failure(path, error);
    }
    // The rename itself reaches the disk with the folder.
    const int dir = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
}

size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xf0 && lead <= 0xf4  ? 4
                          : lead >= 0xe0                ? 3
                          : lead >= 0xc2 && lead < 0xe0 ? 2
                                                        : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) return 0;
    return length;
}

}  // namespace

std::string EscapedForMessage(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            if (const size_t length = Utf8SequenceLength(text, i)) {
                shown.append(text.substr(i, length));
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
    const LinkEnd end = FollowLinks(path);
    if (end.Descriptor) return WriteToOwnDescriptor(path, *end.Descriptor, contents);
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return Failure(path, EISDIR);
        if (!S_ISREG(existing.st_mode)) return WriteToDevice(path, contents);
    }
    return ReplaceRegularFile(path, end.Path, contents);
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
