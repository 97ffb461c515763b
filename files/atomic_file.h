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

// Replaces the file at path with contents so that a reader sees either the old or the new file,
// never half of one. The data goes to a uniquely named temporary created exclusively beside the
// file (never through a link planted there), is flushed to disk and renamed over it. The old
// file's permissions are kept; a symbolic link is written through to the file it names. Where no
// temporary can be created (a folder one may not write to), an existing writable file is
// rewritten in place instead.
FileResult WriteFileAtomically(const std::string& path, std::string_view contents);

// Reads at most maxBytes from a regular file without ever blocking: FIFOs, devices, directories
// and missing files give nullopt. A file longer than maxBytes gives its first maxBytes bytes.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace veltrix
