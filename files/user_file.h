#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace veltrix {

// Outcome of a file operation; Error names the path and the system's reason when !Ok.
struct FileResult {
    bool Ok = true;
    std::string Error;
};

// The one way the program writes a user's file, whatever it holds. What the path names decides how:
// - a regular file or a new name: the data goes to a unique temporary beside it, reaches the disk
//   and is renamed over it, so a reader sees the old file or the new one, never half of one; the
//   old file's permissions are kept, and a symbolic link is written through to the file it names;
// - a regular file whose folder takes no temporary: rewritten in place, its whole size reserved
//   first, so a full disk leaves the old contents as they were;
// - a device, FIFO, socket or terminal: opened as given and written to, blocking, as a shell
//   redirection does; it is never replaced;
// - one of the program's own descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N): written
//   through that descriptor after what the program printed before.
FileResult WriteUserFile(const std::string& path, std::string_view contents);

// The text as a one-line message may show it: control characters and bytes that are not UTF-8
// become C escapes, so a file name cannot split a message or drive the terminal.
std::string EscapedForMessage(std::string_view text);

// Reads at most maxBytes from a regular file without ever blocking: FIFOs, devices, directories
// and missing files give nullopt. A file longer than maxBytes gives its first maxBytes bytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace veltrix
