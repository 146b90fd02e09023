// Qt's Japanese catalogue from the Qt installation's translations folder, the few texts it lacks,
// and the Japanese system locale that Qt's file dialogs write their dates in.
#include "ui/translations.h"

#include <clocale>
#include <cstring>
#include <utility>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavrine {

namespace {

// The file dialogs' type column ("Folder", …) comes from a context that Qt's Japanese catalogue
// does not carry.
class FileTypeTexts final : public QTranslator {
 public:
  explicit FileTypeTexts(QObject* parent) : QTranslator(parent) {}
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (context == nullptr || source == nullptr ||
        std::strcmp(context, "QAbstractFileIconProvider") != 0) {
      return {};
    }
    static const std::pair<const char*, const char*> kTexts[] = {
        {"Folder", "フォルダー"}, {"File Folder", "フォルダー"},  {"Drive", "ドライブ"},
        {"File", "ファイル"},     {"Shortcut", "ショートカット"}, {"Alias", "エイリアス"},
        {"Unknown", "不明"}};
    for (const auto& [english, japanese] : kTexts) {
      if (std::strcmp(source, english) == 0) {
        return QString::fromUtf8(japanese);
      }
    }
    return {};
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

void PreferJapaneseSystemLocale() {
  // A user who sets every category at once keeps that choice.
  if (!qEnvironmentVariableIsEmpty("LC_ALL")) {
    return;
  }
  // Qt sets the C library's locale again from the environment. Where the Japanese locale is not
  // installed that call fails as a whole and leaves the locale set here from the environment as
  // it was, so the C library never falls back to plain ASCII.
  std::setlocale(LC_ALL, "");
  qputenv("LC_TIME", "ja_JP.UTF-8");
}

bool LoadJapaneseTranslations() {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  // Owned by the application for its life; a second call finds it installed.
  QCoreApplication* app = QCoreApplication::instance();
  if (app->findChild<QTranslator*>(QStringLiteral("QtJapanese")) != nullptr) {
    return true;
  }
  auto* file_types = new FileTypeTexts(app);
  file_types->setObjectName(QStringLiteral("FileTypeTexts"));
  QCoreApplication::installTranslator(file_types);
  auto* translator = new QTranslator(app);
  translator->setObjectName(QStringLiteral("QtJapanese"));
  if (!translator->load(japanese, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace tavrine
