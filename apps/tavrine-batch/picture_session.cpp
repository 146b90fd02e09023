// The offscreen session and model reading of the picture commands.
#include "picture_session.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#ifdef TAVRINE_HAVE_QTGUI

#include <clocale>
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QLoggingCategory>

#include "files/file_error.h"
#include "files/model_file.h"

namespace tavrine::batch {

namespace {

// Qt wants a runtime directory of mode 0700; a fresh one under the temporary directory.
void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    return;
  }
  const QByteArray tmp =
      qEnvironmentVariableIsEmpty("TMPDIR") ? QByteArray("/tmp") : qgetenv("TMPDIR");
  std::string pattern = tmp.toStdString() + "/tavrine-batch-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(pattern));
  }
}

}  // namespace

void EnsureGuiSession() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  EnsureRuntimeDir();
  // Font and platform notes are for developers; the command reports its own outcome.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.*=false"));
  static int argc = 1;
  static char name[] = "tavrine-batch";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  // Qt has set the C library's locale from the environment; numbers keep their ".".
  std::setlocale(LC_NUMERIC, "C");
}

std::unique_ptr<ElementModel> ReadPictureModel(const std::string& path) {
  ModelReadResult read = ReadModelFileAfterStartUp(path);
  if (!read.ok()) {
    const FileError error = read.error.value_or(FileError{0, "読み込めません"});
    std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(path, error).c_str());
    return nullptr;
  }
  return std::move(read.model);
}

}  // namespace tavrine::batch

#endif  // TAVRINE_HAVE_QTGUI

// Without Qt the picture commands still check their arguments before they say so.
namespace tavrine::batch {

std::string PictureKind(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* kind : {"png", "svg"}) {
    const std::string suffix = std::string(".") + kind;
    if (lower.size() > suffix.size() && lower.ends_with(suffix)) {
      return kind;
    }
  }
  return {};
}

bool ReadPictureArgs(const std::vector<std::string>& args,
                     PictureArgs& common,
                     const PictureOption& option) {
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& word = args[k];
    if ((word == "-o" || word == "--output") && k + 1 < args.size()) {
      common.picture_path = args[++k];
    } else if (word == "-h" || word == "--help") {
      common.help = true;
      return true;
    } else if (option(args, k)) {
      continue;
    } else if (common.model_path.empty() && !word.empty() && word[0] != '-') {
      common.model_path = word;
    } else {
      return false;
    }
  }
  return !common.model_path.empty() && !PictureKind(common.picture_path).empty();
}

std::optional<int> HelpOrUsage(const PictureArgs* common, const char* help, const char* usage) {
  if (common == nullptr) {
    std::fprintf(stderr, "tavrine-batch: 使い方: %s\n", usage);
    return 2;
  }
  if (common->help) {
    std::fputs(help, stdout);
    return 0;
  }
  return std::nullopt;
}

int WithoutGui(const char* command) {
  std::fprintf(stderr, "tavrine-batch: %s は画面表示部品（QtGui）を含む構成でのみ使えます\n",
               command);
  return 2;
}

int PictureWriteFailure(const std::string& path) {
  std::fprintf(stderr, "tavrine-batch: %s: 画像を書き込めません\n", path.c_str());
  return 1;
}

}  // namespace tavrine::batch
