// The grid of every table window: a fixed, read-only row-number column followed by data columns,
// each with its own editor (free text, a drop-down list without free text, or a Y/N check box).
// Every cell holds the text that the table file stores; hidden columns keep, move and give back
// their texts like shown ones. For engineers who keep their lists in spreadsheets the grid copies
// the selected cells as tab-separated text and pastes such text at the current cell.
//
// Data rows and data columns are counted from 0; the row-number column is not counted.
#pragma once

#include <vector>

#include <QStringList>
#include <QTableWidget>

namespace brenvale::ui {

enum class GridEditor {
  kText,   // free text
  kList,   // one of `choices`, no free text
  kCheck,  // check box storing "Y" or "N"; empty until first set
};

struct GridColumn {
  GridEditor editor = GridEditor::kText;
  int width = 70;
  QStringList choices;  // kList only
};

class ColumnGrid : public QTableWidget {
  Q_OBJECT
 public:
  explicit ColumnGrid(QWidget* parent);

  // Rebuilds the grid with `rows` empty rows numbered 1 … rows and the given data columns.
  void set_layout(int rows, int number_width, const std::vector<GridColumn>& columns);
  // Header texts: the row-number column's, then one per data column.
  void set_headers(const QString& number_header, const QStringList& headers);
  void set_column_shown(int column, bool shown);
  bool column_shown(int column) const;
  void set_choices(int column, const QStringList& choices);
  const QStringList& choices(int column) const;

  int data_rows() const { return rowCount(); }
  int data_columns() const { return columnCount() - 1; }
  GridEditor editor(int column) const;

  QString cell(int row, int column) const;
  void set_cell(int row, int column, const QString& text);
  void clear_cells();

  // The row that Insert Row and Delete Row act on: the current row, the first when none is.
  int current_data_row() const;
  void set_current_data_cell(int row, int column);

  // The selected cells of shown data columns as tab-separated lines, from the top-left selected
  // cell to the bottom-right one; cells inside that block that are not selected stay empty.
  QString selection_text() const;
  // Pastes tab-separated lines from the current cell on, over the shown data columns. Values
  // that do not fit are left out: rows or columns beyond the grid, check-box cells given
  // anything but "Y"/"N", list cells given a text that is none of their choices.
  void paste_text(const QString& text);

  void copy_to_clipboard() const;
  void paste_from_clipboard();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void on_item_changed(QTableWidgetItem* item);
  QTableWidgetItem* data_item(int row, int column) const;
  void show_check(QTableWidgetItem* item, const QString& text);
  bool accepts(int column, const QString& text, QString* stored) const;
  std::vector<int> shown_data_columns() const;

  std::vector<GridColumn> columns_;
  bool updating_ = false;
};

}  // namespace brenvale::ui
