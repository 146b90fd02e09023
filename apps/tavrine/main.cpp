// The desktop program: a Qt application around one model.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Tavrine");
  window.resize(1200, 800);
  window.show();
  return app.exec();
}
