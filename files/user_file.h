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
    // The user gave up waiting for a FIFO's reader: nothing to report beyond that.
    bool Cancelled = false;
};

// The one way the program writes a user's file, whatever it holds. The name is first opened for
// writing as the shell's `>` opens it, so the user's permission, the kernel's protection of links in
// shared folders and a loop of links decide, and are reported with the system's reason. Then:
// - a regular file or a new name: the data goes to a temporary beside it (unnamed where the file
//   system allows, else hidden and removed if the program is interrupted), reaches the disk and only
//   then takes the name, so a reader sees the old file or the new one, never half of one; the old
//   file's permissions are kept, and a symbolic link is written through to the file it names;
// - a regular file that cannot be replaced by one of the writer's own (another user's file, a folder
//   that takes no temporary or refuses the rename): rewritten in place under a lock, its whole size
//   reserved first, so a full disk leaves the old contents and two writers never mix;
// - a device, FIFO, socket or terminal: written to as a shell redirection does; it is never
//   replaced. A FIFO without a reader is waited for (see SetWaitForReader);
// - one of the descriptors the program was started with (/dev/stdout, /dev/fd/N, /proc/self/fd/N):
//   written through it after what the program printed before. The program's own later descriptors
//   are not the user's: those names are refused as the shell would refuse a closed descriptor.
FileResult WriteUserFile(const std::string& path, std::string_view contents);

// A wait the user can end, for a FIFO that has no reader yet or takes no more for now.
class WaitForReader {
  public:
    virtual ~WaitForReader() = default;
    // Asked about every 50 ms while the write waits; false gives the write up.
    virtual bool KeepWaiting(const std::string& path) = 0;
    // The wait is over, whichever way it ended.
    virtual void Finished() {}
};

// Without one (the command line), a FIFO is waited for as long as it takes, as the shell does.
void SetWaitForReader(WaitForReader* wait);

// The text as a one-line message may show it: control characters (C0, DEL and C1), the bidi
// controls, the line and paragraph separators and bytes that are not UTF-8 become C escapes, so a
// file name cannot split a message, reorder it or drive the terminal.
std::string EscapedForMessage(std::string_view text);

// Reads at most maxBytes from a regular file without ever blocking: FIFOs, devices, directories
// and missing files give nullopt. A file longer than maxBytes gives its first maxBytes bytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace veltrix
