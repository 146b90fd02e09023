// Temporary file, checked writes, fsync, rename; and reading a whole file.
#include "files/safe_write.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavrine {

namespace {

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// The file a path names: symbolic links resolved when the target exists.
std::string ResolvedTarget(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> WriteAll(int fd, std::string_view bytes, const FileSystemCalls& calls) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = calls.write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return SystemError("書き込みに失敗しました");
    }
    if (n == 0) {
      errno = ENOSPC;
      return SystemError("書き込みに失敗しました");
    }
    done += static_cast<size_t>(n);
  }
  return std::nullopt;
}

// Permissions of the new file: those of the file it replaces, else the usual 0666 & ~umask.
mode_t NewFileMode(const struct stat* existing) {
  if (existing != nullptr) {
    return existing->st_mode & 07777;
  }
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::optional<std::string> CheckTarget(const std::string& target, struct stat& st, bool& exists) {
  exists = stat(target.c_str(), &st) == 0;
  if (!exists) {
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    return "通常のファイルではありません";
  }
  // Mode bits as well as access(): a read-only file stays untouched even for the superuser.
  if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
    return "ファイルは読み取り専用です";
  }
  return std::nullopt;
}

}  // namespace

FileSystemCalls SystemFileCalls() {
  return {[](int fd, const char* data, size_t size) { return ::write(fd, data, size); },
          [](int fd) { return ::fsync(fd); },
          [](const char* from, const char* to) { return std::rename(from, to); }};
}

std::optional<std::string> ReplaceFileContents(const std::string& path,
                                               std::string_view bytes,
                                               const FileSystemCalls& calls) {
  if (path.empty()) {
    return "ファイル名がありません";
  }
  const std::string target = ResolvedTarget(path);
  struct stat st {};
  bool exists = false;
  if (auto refusal = CheckTarget(target, st, exists)) {
    return refusal;
  }
  std::string temp = FolderOf(target) + "/.tavrine-XXXXXX";
  std::vector<char> temp_name(temp.begin(), temp.end());
  temp_name.push_back('\0');
  const int fd = mkstemp(temp_name.data());
  if (fd < 0) {
    return SystemError("一時ファイルを作成できません");
  }
  temp = temp_name.data();
  std::optional<std::string> error = WriteAll(fd, bytes, calls);
  if (!error && fchmod(fd, NewFileMode(exists ? &st : nullptr)) != 0) {
    error = SystemError("権限を設定できません");
  }
  if (!error && calls.fsync(fd) != 0) {
    error = SystemError("ディスクへの書き込みに失敗しました");
  }
  if (close(fd) != 0 && !error) {
    error = SystemError("ファイルを閉じられません");
  }
  if (!error && calls.rename(temp.c_str(), target.c_str()) != 0) {
    error = SystemError("ファイルを置き換えられません");
  }
  if (error) {
    unlink(temp.c_str());
  }
  return error;
}

FileBytes ReadWholeFile(const std::string& path) {
  FileBytes result;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = SystemError("ファイルを開けません");
    return result;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      result.error = SystemError("ファイルを読めません");
      break;
    }
    if (n == 0) {
      break;
    }
    result.bytes.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return result;
}

}  // namespace tavrine
