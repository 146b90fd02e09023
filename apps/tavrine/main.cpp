// The desktop program: a Qt application around one model.
#include <csignal>

#include <QApplication>

#include "ui/application.h"
#include "ui/translations.h"
#include "ui/ui_fonts.h"

int main(int argc, char** argv) {
  // Past the file size limit a save fails with EFBIG and removes its temporary file, instead
  // of the program being ended with the file left behind and the model lost.
  std::signal(SIGXFSZ, SIG_IGN);
  tavrine::PreferJapaneseSystemLocale();
  QApplication app(argc, argv);
  app.setFont(QFont(tavrine::kUiFontFamily));
  // Without the translation files Qt's own texts stay in English; the program still runs.
  tavrine::LoadJapaneseTranslations();
  tavrine::TavrineApplication program;
  program.StartUp();
  return app.exec();
}
