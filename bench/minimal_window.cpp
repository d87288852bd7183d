// The start-up baseline: the least a Qt Widgets program does to show one
// window of the tool's size and title, built with the same toolchain and Qt.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Zembrolt Morvessa"));
  window.resize(367, 325);
  window.show();
  return application.exec();
}
