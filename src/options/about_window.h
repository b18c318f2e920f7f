// The about window: product, software code, version and manual code, with a link to the maker.
// Its texts are fixed English texts that do not follow the language.
#pragma once

#include <QDialog>

class QLabel;

namespace brenvale {

namespace ui {
class LinkLabel;
}

class TFAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TFAbout(QWidget* parent);

 public slots:
  void Label4Click();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* add_label(const char* name, int left, int top, const QString& text);
  QLabel* Image2;
  QLabel* Label2;
  QLabel* Label9;
  QLabel* Label10;
  QLabel* Label12;
  QLabel* Label4;
};

}  // namespace brenvale
