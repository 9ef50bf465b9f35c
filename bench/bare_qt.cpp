// The least a Qt Widgets program can show: an empty window of MainForm's
// size (480 x 424), the other side of the start-up and memory figures.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(480, 424);
  window.show();
  return app.exec();
}
