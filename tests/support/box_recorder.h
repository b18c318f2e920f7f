// Answers every message box of the windows under test and remembers what they said.
#pragma once

#include <utility>
#include <vector>

#include <QString>

#include "ui/message_box.h"

namespace brenvale::testing {

class BoxRecorder {
 public:
  explicit BoxRecorder(bool answer_yes = true) : answer_(answer_yes) {
    ui::set_box_handler([this](ui::BoxKind kind, const QString& text) {
      boxes.emplace_back(kind, text);
      return answer_;
    });
  }
  ~BoxRecorder() { ui::set_box_handler({}); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  void answer(bool yes) { answer_ = yes; }
  QString last() const { return boxes.empty() ? QString() : boxes.back().second; }

  std::vector<std::pair<ui::BoxKind, QString>> boxes;

 private:
  bool answer_;
};

}  // namespace brenvale::testing
