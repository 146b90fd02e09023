// The desktop program: a Qt application around one model.
#include <QApplication>

#include "ui/application.h"
#include "ui/ui_fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setFont(QFont(tavrine::kUiFontFamily));
  tavrine::TavrineApplication program;
  program.StartUp();
  return app.exec();
}
