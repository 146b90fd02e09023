// The one-line description of a file error.
#include "files/file_error.h"

namespace tavrine {

std::string DescribeFileError(const std::string& path, const FileError& error) {
  if (error.line > 0) {
    return path + ":" + std::to_string(error.line) + ": " + error.message;
  }
  return path + ": " + error.message;
}

}  // namespace tavrine
