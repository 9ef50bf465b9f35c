// The floors of the start-up and memory figures on Qt: an empty window of
// MainForm's size (480 x 424); with the argument "label", the same window
// holding one label in Times New Roman 12 pt, the least that any program
// showing text in that font pays (Qt's font system starts with it).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(480, 424);
  if (argc > 1 && std::strcmp(argv[1], "label") == 0) {
    auto* label = new QLabel(QStringLiteral("Логика - по 7 бутилки на 3 маси"), &window);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    label->setFont(font);
    label->setGeometry(64, 0, 305, 25);
  }
  window.show();
  return app.exec();
}
