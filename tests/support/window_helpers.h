// Small helpers of the window tests: finding a control by its name, clicking a button, and
// acting inside a modal dialog once it is on screen.
#pragma once

#include <functional>

#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace brenvale::testing {

template <typename T = QWidget>
T* child(QWidget* window, const QString& name) {
  T* found = window->findChild<T*>(name);
  if (!found) qFatal("no control %s", qPrintable(name));
  return found;
}

inline void click(QWidget* window, const char* name) {
  QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
}

// Runs `action` once the modal dialog is on screen, so that exec() returns when it closes it.
inline void when_dialog_shown(QDialog* dialog, std::function<void()> action) {
  QTimer::singleShot(0, dialog, [dialog, action] {
    if (!dialog->isVisible()) {
      when_dialog_shown(dialog, action);
      return;
    }
    action();
  });
}

}  // namespace brenvale::testing
