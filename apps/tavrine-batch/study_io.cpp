// Shared option parsing, input and output of the study commands.
#include "study_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "files/cp932.h"
#include "files/model_file.h"
#include "files/safe_write.h"

namespace tavrine::batch {

int StudyUsage(const std::string& command, const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s（tavrine-batch %s --help を参照）\n", message.c_str(),
               command.c_str());
  return 2;
}

std::optional<int> TakeSharedStudyOption(const std::string& command,
                                         const std::vector<std::string>& args,
                                         size_t& i,
                                         int& threads,
                                         std::string& output) {
  const std::string& word = args[i];
  const bool has_value = i + 1 < args.size();
  if (word == "--threads") {
    const auto n = has_value ? WholeNumber(args[++i], 1, 1024) : std::nullopt;
    if (!n) {
      return StudyUsage(command, "--threads には 1 から 1024 の整数を指定してください");
    }
    threads = *n;
    return 0;
  }
  if (word == "-o" || word == "--output") {
    if (!has_value) {
      return StudyUsage(command, "出力ファイル名がありません");
    }
    output = args[++i];
    return 0;
  }
  return std::nullopt;
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 9 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int n = std::atoi(text.c_str());
  return n >= low && n <= high ? std::optional<int>(n) : std::nullopt;
}

std::optional<double> DecimalNumber(const std::string& text) {
  if (text.empty()) {
    return std::nullopt;
  }
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno != 0 || value != value) {
    return std::nullopt;
  }
  return value;
}

std::unique_ptr<ElementModel> ReadStudyModel(const std::string& path, int& exit_code) {
  ModelReadResult read = ReadModelFileAfterStartUp(path);
  if (!read.ok()) {
    std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(path, *read.error).c_str());
    exit_code = 1;
    return nullptr;
  }
  read.model->ModelFilePath = path;
  return std::move(read.model);
}

void PrintRaisedNotices(const NoticeBoard& notices) {
  for (const NoticeText& notice : AllNotices()) {
    if (notices.RaiseCount(notice.id) == 0) {
      continue;
    }
    const std::string title = notices.Title(notice.id);
    const std::string label = title == "警告" ? "警告" : "警告: " + title;
    std::fprintf(stderr, "tavrine-batch: %s: %s\n", label.c_str(),
                 std::string(notice.message).c_str());
  }
}

std::string FullPrecision(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value + 0.0);
  return text;
}

int WriteStudyResult(const std::string& text, const std::string& output) {
  if (output.empty()) {
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::string crlf;
  for (char c : text) {
    if (c == '\n') {
      crlf += '\r';
    }
    crlf += c;
  }
  const std::optional<std::string> bytes = Utf8ToCp932(crlf);
  if (!bytes) {
    std::fprintf(stderr, "tavrine-batch: %s: CP932 で書けない文字があります\n", output.c_str());
    return 1;
  }
  if (const auto error = ReplaceFileContents(output, *bytes)) {
    std::fprintf(stderr, "tavrine-batch: %s: %s\n", output.c_str(), error->c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrine::batch
