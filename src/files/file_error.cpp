// The descriptions of a file error: one line for the batch runner, a few for the notice.
#include "files/file_error.h"

namespace tavrine {

std::string DescribeFileError(const std::string& path, const FileError& error) {
  if (error.line > 0) {
    return path + ":" + std::to_string(error.line) + ": " + error.message;
  }
  return path + ": " + error.message;
}

void RaiseFileError(Notices& notices, const std::string& path, const FileError& error) {
  std::string detail = "ファイル: " + path + "\n";
  if (error.line > 0) {
    detail += std::to_string(error.line) + " 行目: ";
  }
  detail += error.message;
  notices.SetDetail(NoticeId::CautionFileInOut, detail);
  notices.Raise(NoticeId::CautionFileInOut);
}

}  // namespace tavrine
