// The controls of one J1939 frame line in the SDO client and node-guarding windows: priority and
// data page lists, PGN, source address and mnemonic edits. They only copy values to and from a
// FrameLine; a list position outside the list shows no choice and reads back as such.
#pragma once

#include <QString>

#include "canopen/frame_line.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace brenvale {

struct FrameLineControls {
  QComboBox* priority = nullptr;  // none where the frame has no priority of its own
  QComboBox* data_page = nullptr;
  QLineEdit* pgn = nullptr;
  QLineEdit* sa = nullptr;
  QLineEdit* mnemonic = nullptr;

  void show(const FrameLine& frame);
  // The frame as the controls hold it; priority 0 where there is no priority list.
  FrameLine read() const;
};

// A line edit named `name` at the given place.
QLineEdit* make_edit(QWidget* parent, const QString& name, int left, int top, int width, int height);

// The bottom panel `P_Button` of a window `width` x `height` with `Btn_OK` and `Btn_Cancel`.
struct ButtonPanel {
  QPushButton* ok;
  QPushButton* cancel;
};
ButtonPanel add_button_panel(QWidget* window, int width, int height);

// A fixed drop-down list "0" ... "count - 1".
QComboBox* make_number_list(QWidget* parent, const char* name, int count);

}  // namespace brenvale
