// The title panel at the top of every window: the product code in large grey letters and one
// description line.
#pragma once

#include <QFrame>

class QLabel;

namespace brenvale::ui {

class TitlePanel : public QFrame {
  Q_OBJECT
 public:
  explicit TitlePanel(QWidget* parent, int height = 69);
  void set_description(const QString& text);
  QLabel* code_label() const { return code_; }
  QLabel* description_label() const { return description_; }

 private:
  QLabel* code_;
  QLabel* description_;
};

}  // namespace brenvale::ui
