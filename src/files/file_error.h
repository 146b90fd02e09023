// What went wrong with a file: the line (1-based; 0 when no line is concerned) and why.
#pragma once

#include <string>

#include "model/notices.h"

namespace tavrine {

struct FileError {
  int line = 0;
  std::string message;
};

// "path:line: message", or "path: message" when no line is concerned.
std::string DescribeFileError(const std::string& path, const FileError& error);

// Raises CautionFileInOut with the file, the line and the reason under its message.
void RaiseFileError(Notices& notices, const std::string& path, const FileError& error);

}  // namespace tavrine
