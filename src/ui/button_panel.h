// The button row at the bottom of a dialog, `P_Button`, with `Btn_OK` and `Btn_Cancel` at its
// right edge.
#pragma once

class QPushButton;
class QWidget;

namespace brenvale::ui {

struct OkCancelPanel {
  QWidget* panel;
  QPushButton* ok;
  QPushButton* cancel;
};

// Neither button is a default button: Enter in an edit must not close a dialog by accident.
OkCancelPanel make_ok_cancel_panel(QWidget* parent);

}  // namespace brenvale::ui
