#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace brenvale::ui {

namespace {

BoxHandler& handler() {
  static BoxHandler h;
  return h;
}

QString box_title() { return QApplication::applicationDisplayName(); }

}  // namespace

void set_box_handler(BoxHandler h) { handler() = std::move(h); }

void error_box(QWidget* parent, const QString& text) {
  if (handler()) {
    handler()(BoxKind::kError, text);
    return;
  }
  QMessageBox::critical(parent, box_title(), text, QMessageBox::Ok);
}

void warning_box(QWidget* parent, const QString& text) {
  if (handler()) {
    handler()(BoxKind::kWarning, text);
    return;
  }
  QMessageBox::warning(parent, box_title(), text, QMessageBox::Ok);
}

void message_box(QWidget* parent, const QString& text) {
  if (handler()) {
    handler()(BoxKind::kMessage, text);
    return;
  }
  QMessageBox::information(parent, box_title(), text, QMessageBox::Ok);
}

bool question_box(QWidget* parent, const QString& text) {
  if (handler()) return handler()(BoxKind::kQuestion, text);
  return QMessageBox::question(parent, box_title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

}  // namespace brenvale::ui
