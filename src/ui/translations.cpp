// Qt's Japanese catalogue from the Qt installation's translations folder.
#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavrine {

bool LoadJapaneseTranslations() {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  // Owned by the application for its life; a second call finds it installed.
  QCoreApplication* app = QCoreApplication::instance();
  if (app->findChild<QTranslator*>(QStringLiteral("QtJapanese")) != nullptr) {
    return true;
  }
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
