#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace veltrix {
namespace {

FileResult Failure(const std::string& path, int error) {
    return {false, path + ": " + std::strerror(error)};
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a chain of symbolic links ends at, so that saving replaces that file and keeps the
// links. A chain that loops or is too long is left as it is; the rename then replaces the link.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char target[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length <= 0) return current;
        const std::string next(target, static_cast<size_t>(length));
        current = next.front() == '/' ? next : DirectoryOf(current) + "/" + next;
    }
    return path;
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

mode_t CreationMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

FileResult WriteInPlace(const std::string& path, std::string_view contents, int temporaryError) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    // Without a temporary and without the file itself, the reason to give is the folder's.
    if (fd < 0) return Failure(path, errno == ENOENT ? temporaryError : errno);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Failure(path, temporaryError);
    }
    const bool ok = WriteAll(fd, contents) && ftruncate(fd, static_cast<off_t>(contents.size())) == 0 &&
                    fsync(fd) == 0;
    const int error = errno;
    if (close(fd) != 0 && ok) return Failure(path, errno);
    return ok ? FileResult{} : Failure(path, error);
}

// A device or FIFO is written to, never replaced: saving to /dev/null must not swap the device for
// a plain file.
FileResult WriteToSpecialFile(const std::string& path, std::string_view contents) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Failure(path, errno);
    const bool ok = WriteAll(fd, contents);
    const int error = errno;
    if (close(fd) != 0 && ok) return Failure(path, errno);
    return ok ? FileResult{} : Failure(path, error);
}

}  // namespace

FileResult WriteFileAtomically(const std::string& path, std::string_view contents) {
    if (path.empty()) return Failure("(no file name)", ENOENT);
    const std::string target = FollowLinks(path);
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return Failure(target, EISDIR);
        if (!S_ISREG(existing.st_mode)) return WriteToSpecialFile(target, contents);
    }
    std::string temporary = target + ".XXXXXX";
    // mkstemp creates with O_EXCL: a link planted under the chosen name makes it pick another.
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS) return WriteInPlace(target, contents, error);
        return Failure(target, error);
    }
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        close(fd);
        unlink(temporary.c_str());
        return Failure(target, EISDIR);
    }
    bool ok = fchmod(fd, replacing ? (old.st_mode & 07777) : CreationMode()) == 0;
    if (ok && replacing && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // Only root can give the file back to its owner; for anyone else the new file is theirs.
        [[maybe_unused]] const int ignored = fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && WriteAll(fd, contents) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Failure(target, error);
    }
    // The rename itself reaches the disk with the folder.
    const int dir = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
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
