// Replacing a file's contents so that a failure never destroys the file already there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tavrine {

// The system calls the replacement makes, replaceable in tests to inject faults (a full disk,
// a failing fsync or rename). Each has the meaning and error convention (-1 and errno) of the
// POSIX call of the same name.
struct FileSystemCalls {
  std::function<ssize_t(int fd, const char* data, size_t size)> write;
  std::function<int(int fd)> fsync;
  std::function<int(const char* from, const char* to)> rename;
};
FileSystemCalls SystemFileCalls();

// Writes the bytes to a temporary file in the target's folder, checks every write, syncs and
// closes it, then renames it over the target. On any failure the temporary file is removed,
// an existing target is left as it was, and the returned text says what went wrong. An
// existing target without write permission is refused; a symbolic link is followed, so the
// file it points to is replaced.
std::optional<std::string> ReplaceFileContents(const std::string& path,
                                               std::string_view bytes,
                                               const FileSystemCalls& calls = SystemFileCalls());
// The same with the contents in pieces, written one after another: text built in parts need
// not be joined first.
std::optional<std::string> ReplaceFileContents(const std::string& path,
                                               std::span<const std::string_view> pieces,
                                               const FileSystemCalls& calls = SystemFileCalls());

// The whole file's bytes, or the reason it could not be read. Only regular files are read, so
// a folder, a device or a pipe is refused at once; so is a file of more than max_bytes.
struct FileBytes {
  std::string bytes;
  std::optional<std::string> error;
};
FileBytes ReadWholeFile(const std::string& path, size_t max_bytes = SIZE_MAX);

}  // namespace tavrine
