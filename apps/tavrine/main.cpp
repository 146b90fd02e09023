// The desktop program: a Qt application around one model.
#include <clocale>
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
  // Qt has set the C library's locale from the environment; numbers in files and fields are
  // read and written with "." whatever the user's locale writes.
  std::setlocale(LC_NUMERIC, "C");
  app.setFont(QFont(tavrine::kUiFontFamily));
  // Without the translation files Qt's own texts stay in English; the program still runs.
  tavrine::LoadJapaneseTranslations();
  tavrine::TavrineApplication program;
  program.StartUp();
  return app.exec();
}
