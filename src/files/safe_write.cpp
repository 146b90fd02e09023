// Temporary file, checked writes, fsync, rename; and reading a whole file.
#include "files/safe_write.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "model/page_memory.h"

namespace tavrine {

namespace {

// Why a system call failed, in the user's words.
std::string Reason(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルまたはフォルダがありません";
    case EACCES:
    case EPERM:
      return "アクセスが許可されていません";
    case EROFS:
      return "読み取り専用の場所です";
    case ENOSPC:
      return "ディスクの空きが足りません";
    case EDQUOT:
      return "ディスク使用量の上限を超えます";
    case EFBIG:
      return "ファイルサイズの上限を超えます";
    case ENOTDIR:
      return "パスの途中にフォルダでないものがあります";
    case EISDIR:
      return "フォルダです";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます";
    case ELOOP:
      return "シンボリックリンクが循環しています";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case EBUSY:
    case ETXTBSY:
      return "ファイルが使用中です";
    case ENOMEM:
      return "メモリが足りません";
    case EIO:
      return "ディスクの読み書きでエラーが起きました";
    default:
      return "システムエラー " + std::to_string(error);
  }
}

std::string SystemError(const std::string& what) {
  return what + "（" + Reason(errno) + "）";
}

bool FolderExists(const std::string& folder) {
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

std::string TooLarge(size_t max_bytes) {
  return "ファイルが大きすぎます（" + std::to_string(max_bytes / (1024 * 1024)) +
         " MB を超えています）";
}

std::string OpenFailure(const std::string& path) {
  const int error = errno;
  if (error == ENOENT) {
    return FolderExists(FolderOf(path)) ? "ファイルがありません" : "フォルダがありません";
  }
  errno = error;
  return SystemError("ファイルを開けません");
}

// The process's file size limit would stop the write half way (and by default end the
// program before it could remove the temporary file): refuse before writing.
std::optional<std::string> CheckSizeLimit(size_t size) {
  struct rlimit limit {};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      size > limit.rlim_cur) {
    return "ファイルがこのプログラムに許されたファイルサイズの上限（" +
           std::to_string(limit.rlim_cur) + " バイト）を超えます";
  }
  return std::nullopt;
}

// Reads up to `size` bytes straight into `bytes`, which is cut to what was read.
std::optional<std::string> ReadInto(int fd, size_t size, std::string& bytes) {
  bytes.reserve(size);
  PrefaultPages(bytes.data(), bytes.capacity());
  bytes.resize(size);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = read(fd, bytes.data() + done, size - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return SystemError("ファイルを読めません");
    }
    if (n == 0) {
      break;
    }
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  return std::nullopt;
}

// Reads to the end, refusing more than max_bytes: the file may grow while it is read. The
// size the file had when opened is read in place, without a copy through a small buffer.
std::optional<std::string> ReadAll(int fd, size_t expected, size_t max_bytes, std::string& bytes) {
  if (auto failure = ReadInto(fd, expected, bytes); failure || bytes.size() < expected) {
    return failure;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return SystemError("ファイルを読めません");
    }
    if (n == 0) {
      return std::nullopt;
    }
    if (static_cast<size_t>(n) > max_bytes - bytes.size()) {
      return TooLarge(max_bytes);
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
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
  return ReplaceFileContents(path, std::span<const std::string_view>(&bytes, 1), calls);
}

std::optional<std::string> ReplaceFileContents(const std::string& path,
                                               std::span<const std::string_view> pieces,
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
  size_t size = 0;
  for (std::string_view piece : pieces) {
    size += piece.size();
  }
  if (auto refusal = CheckSizeLimit(size)) {
    return refusal;
  }
  const int fd = mkstemp(temp_name.data());
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR || !FolderExists(FolderOf(target))) {
      return "保存先のフォルダがありません";
    }
    errno = error;
    return SystemError("保存先のフォルダにファイルを作れません");
  }
  temp = temp_name.data();
  std::optional<std::string> error;
  for (size_t i = 0; i < pieces.size() && !error; ++i) {
    error = WriteAll(fd, pieces[i], calls);
  }
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

FileBytes ReadWholeFile(const std::string& path, size_t max_bytes) {
  FileBytes result;
  // Non-blocking, so that a named pipe with no writer cannot hang the program here.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    result.error = OpenFailure(path);
    return result;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    result.error = SystemError("ファイルを読めません");
  } else if (S_ISDIR(st.st_mode)) {
    result.error = "フォルダです（ファイルを選んでください）";
  } else if (!S_ISREG(st.st_mode)) {
    result.error = "通常のファイルではありません（デバイスや名前付きパイプは読めません）";
  } else if (static_cast<uintmax_t>(st.st_size) > max_bytes) {
    result.error = TooLarge(max_bytes);
  } else {
    result.error = ReadAll(fd, static_cast<size_t>(st.st_size), max_bytes, result.bytes);
  }
  close(fd);
  if (result.error) {
    result.bytes.clear();
  }
  return result;
}

}  // namespace tavrine
