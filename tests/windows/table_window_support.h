// Helpers of the table window tests: a configuration folder of its own and a way to act inside a
// modal window while open_modal() runs.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/app_state.h"
#include "support/temp_dir.h"

namespace brenvale::testing {

struct Configuration {
  Configuration() : state(AppFolders{dir.path()}) {
    std::filesystem::create_directories(dir.path() / "PROJECTS" / "demo");
    state.active.activate("demo");
  }
  ConfigFiles files() const { return state.active.files(); }

  TempDir dir;
  AppState state;
};

// Runs `action` once the modal window is visible; open() must then end the window.
template <typename Window>
int open_and(Window& window, std::function<void()> action) {
  std::shared_ptr<std::function<void()>> poll = std::make_shared<std::function<void()>>();
  *poll = [&window, action, poll] {
    if (!window.isVisible()) {
      QTimer::singleShot(0, &window, *poll);
      return;
    }
    action();
    if (window.isVisible()) window.reject();  // a test that forgot to close it must not hang
  };
  QTimer::singleShot(0, &window, *poll);
  const int result = window.open_modal();
  *poll = nullptr;
  return result;
}

inline void click(QWidget* window, const char* name) {
  QPushButton* button = window->findChild<QPushButton*>(name);
  QVERIFY2(button, name);
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace brenvale::testing
