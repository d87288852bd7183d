// The start-up baseline: the least a Qt Widgets program does to show one
// window of the tool's size and title, built with the same toolchain and Qt.
// With --chinese it also shows one line of Chinese text, which is what makes
// Qt look for a font that has the glyphs; the tool's window needs that too.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  const bool chinese = argc > 1 && std::strcmp(argv[1], "--chinese") == 0;
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Zembrolt Morvessa"));
  window.resize(367, 325);
  if (chinese) {
    auto* label = new QLabel(QString::fromUtf16(u"\u67E5\u8BE2"), &window);  // 查询
    label->move(10, 10);
  }
  window.show();
  return application.exec();
}
