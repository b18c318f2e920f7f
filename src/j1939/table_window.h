// The frame and PDO windows share one shape: a title panel, the column grid `sga` over a row
// table, and the buttons OK, Cancel, Delete Row and Insert Row. Each opening rebuilds the table
// from the configuration's files; OK checks the whole table and rewrites its file; Cancel
// drops the edits. The window copies values between the grid and the core table and shows what
// the core answers.
#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "app/app_state.h"
#include "j1939/cell_table.h"
#include "project/result.h"
#include "ui/captioned.h"

class QPushButton;

namespace brenvale {

namespace ui {
class ColumnGrid;
class TitlePanel;
}  // namespace ui

class TableWindow : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  // Catalogue indices of the window's own texts.
  struct Captions {
    int title, description, row_number, ok, cancel, delete_row, insert_row, delete_question;
  };

  // The step's entry point: opens the table and shows the window modally. A table that cannot
  // be read is reported in an error box and the window does not open (Rejected).
  int open_modal();

  void Set_Lang() override;
  ui::ColumnGrid* grid() const { return sga; }

 public slots:
  void Btn_OKClick();
  void Btn_InsRowClick();
  void Btn_DelRowClick();

 protected:
  TableWindow(AppState& state, QWidget* parent, const char* name, Captions captions, int width, int height);

  // Rebuilds the table from the active configuration's files.
  virtual Status load_table() = 0;
  virtual CellTable& cells() = 0;
  virtual EthernetPort port() const = 0;
  // Widths of "N°" and of every data column.
  virtual std::vector<int> column_widths() const = 0;
  virtual std::optional<RowFailure> validate() const = 0;
  virtual Status save_table() const = 0;
  // The entries of a drop-down column.
  virtual QStringList list_choices(int column) const;

  // Shows the current table in the grid: layout, visibility, texts and captions. Subclasses call
  // it once their table exists, so that the grid has its columns from the start.
  void fill_grid();

  AppState& state_;

 private:
  void read_grid();
  void show_rows_from(int row);

  Captions captions_;
  ui::TitlePanel* P_Title;
  ui::ColumnGrid* sga;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_DelRow;
  QPushButton* Btn_InsRow;
};

}  // namespace brenvale
