// The least a Qt Widgets program does before its first window is on screen: one window of the
// program's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("floor"));
  window.setFixedSize(800, 570);
  window.show();
  return QApplication::exec();
}
