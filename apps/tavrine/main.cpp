// The desktop program: a Qt application around one model.
#include <QApplication>

#include "ui/application.h"
#include "ui/translations.h"
#include "ui/ui_fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setFont(QFont(tavrine::kUiFontFamily));
  // Without the translation files Qt's own texts stay in English; the program still runs.
  tavrine::LoadJapaneseTranslations();
  tavrine::TavrineApplication program;
  program.StartUp();
  return app.exec();
}
