// A bare Qt 6 window program with a given number of labels and buttons that quits right after
// its first paint, as `brenvale --quit-when-shown` does.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (!painted_) {
      painted_ = true;
      QTimer::singleShot(0, qApp, &QApplication::quit);
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int widgets = argc > 1 ? std::atoi(argv[1]) : 40;
  Window window;
  window.setFixedSize(694, 572);
  for (int i = 0; i < widgets; ++i) {
    QWidget* w = (i % 2) ? static_cast<QWidget*>(new QPushButton("Button", &window))
                         : static_cast<QWidget*>(new QLabel("Label", &window));
    w->setGeometry(10 + (i % 4) * 170, 10 + (i / 4) * 40, 160, 30);
  }
  window.show();
  return QApplication::exec();
}
