#include "ui/column_grid.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace brenvale::ui {

namespace {

constexpr int kStoredText = Qt::UserRole;  // the text of a check-box cell

// Drop-down lists offer only their choices; the other columns use the grid's line edit.
class ListDelegate : public QStyledItemDelegate {
 public:
  explicit ListDelegate(ColumnGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int column = index.column() - 1;
    if (column < 0 || grid_->editor(column) != GridEditor::kList) {
      return QStyledItemDelegate::createEditor(parent, option, index);
    }
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->addItems(grid_->choices(column));
    connect(box, &QComboBox::activated, this, [this, box] {
      emit const_cast<ListDelegate*>(this)->commitData(box);
      emit const_cast<ListDelegate*>(this)->closeEditor(box);
    });
    return box;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      box->setCurrentIndex(box->findText(index.data(Qt::EditRole).toString()));
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
      if (box->currentIndex() >= 0) model->setData(index, box->currentText(), Qt::EditRole);
      return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
  }

 private:
  ColumnGrid* grid_;
};

}  // namespace

ColumnGrid::ColumnGrid(QWidget* parent) : QTableWidget(parent) {
  setItemDelegate(new ListDelegate(this));
  verticalHeader()->setVisible(false);
  verticalHeader()->setDefaultSectionSize(22);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  connect(this, &QTableWidget::itemChanged, this, &ColumnGrid::on_item_changed);
}

void ColumnGrid::set_layout(int rows, int number_width, const std::vector<GridColumn>& columns) {
  updating_ = true;
  columns_ = columns;
  clear();
  setRowCount(rows);
  setColumnCount(static_cast<int>(columns.size()) + 1);
  setColumnWidth(0, number_width);
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) setColumnWidth(c + 1, columns[static_cast<std::size_t>(c)].width);
  for (int r = 0; r < rows; ++r) {
    auto* number = new QTableWidgetItem(QString::number(r + 1));
    number->setFlags(Qt::ItemIsEnabled);
    number->setBackground(palette().button());
    setItem(r, 0, number);
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
      auto* item = new QTableWidgetItem;
      if (columns[static_cast<std::size_t>(c)].editor == GridEditor::kCheck) {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setData(kStoredText, QString());
        item->setCheckState(Qt::Unchecked);
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
      }
      setItem(r, c + 1, item);
    }
  }
  updating_ = false;
}

void ColumnGrid::set_headers(const QString& number_header, const QStringList& headers) {
  QStringList all = {number_header};
  all += headers;
  setHorizontalHeaderLabels(all);
}

void ColumnGrid::set_column_shown(int column, bool shown) { setColumnHidden(column + 1, !shown); }

bool ColumnGrid::column_shown(int column) const { return !isColumnHidden(column + 1); }

void ColumnGrid::set_choices(int column, const QStringList& choices) {
  columns_.at(static_cast<std::size_t>(column)).choices = choices;
}

const QStringList& ColumnGrid::choices(int column) const { return columns_.at(static_cast<std::size_t>(column)).choices; }

GridEditor ColumnGrid::editor(int column) const { return columns_.at(static_cast<std::size_t>(column)).editor; }

QTableWidgetItem* ColumnGrid::data_item(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= data_columns()) return nullptr;
  return item(row, column + 1);
}

QString ColumnGrid::cell(int row, int column) const {
  const QTableWidgetItem* it = data_item(row, column);
  if (!it) return {};
  return editor(column) == GridEditor::kCheck ? it->data(kStoredText).toString() : it->text();
}

void ColumnGrid::show_check(QTableWidgetItem* it, const QString& text) {
  updating_ = true;
  it->setData(kStoredText, text);
  it->setCheckState(text == "Y" ? Qt::Checked : Qt::Unchecked);
  updating_ = false;
}

void ColumnGrid::set_cell(int row, int column, const QString& text) {
  QTableWidgetItem* it = data_item(row, column);
  if (!it) return;
  if (editor(column) == GridEditor::kCheck) {
    show_check(it, text);
  } else {
    updating_ = true;
    it->setText(text);
    updating_ = false;
  }
}

void ColumnGrid::clear_cells() {
  for (int r = 0; r < rowCount(); ++r)
    for (int c = 0; c < data_columns(); ++c) set_cell(r, c, QString());
}

void ColumnGrid::on_item_changed(QTableWidgetItem* it) {
  if (updating_ || !it) return;
  const int column = it->column() - 1;
  if (column < 0 || editor(column) != GridEditor::kCheck) return;
  // A click on the box: from now on the cell holds "Y" or "N".
  show_check(it, it->checkState() == Qt::Checked ? "Y" : "N");
}

int ColumnGrid::current_data_row() const { return std::max(currentRow(), 0); }

void ColumnGrid::set_current_data_cell(int row, int column) { setCurrentCell(row, column + 1); }

std::vector<int> ColumnGrid::shown_data_columns() const {
  std::vector<int> shown;
  for (int c = 0; c < data_columns(); ++c) {
    if (column_shown(c)) shown.push_back(c);
  }
  return shown;
}

QString ColumnGrid::selection_text() const {
  const std::vector<int> shown = shown_data_columns();
  int top = rowCount(), bottom = -1, left = static_cast<int>(shown.size()), right = -1;
  const QModelIndexList selected = selectedIndexes();
  for (const QModelIndex& index : selected) {
    const auto at = std::find(shown.begin(), shown.end(), index.column() - 1);
    if (at == shown.end()) continue;
    const int position = static_cast<int>(at - shown.begin());
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, position);
    right = std::max(right, position);
  }
  if (bottom < 0) return {};
  QStringList lines;
  for (int r = top; r <= bottom; ++r) {
    QStringList fields;
    for (int p = left; p <= right; ++p) {
      const int column = shown[static_cast<std::size_t>(p)];
      fields << (selectionModel()->isSelected(model()->index(r, column + 1)) ? cell(r, column) : QString());
    }
    lines << fields.join('\t');
  }
  return lines.join('\n');
}

bool ColumnGrid::accepts(int column, const QString& text, QString* stored) const {
  switch (editor(column)) {
    case GridEditor::kText:
      *stored = text;
      return true;
    case GridEditor::kCheck:
      *stored = text.trimmed().toUpper();
      return *stored == "Y" || *stored == "N";
    case GridEditor::kList:
      for (const QString& choice : columns_.at(static_cast<std::size_t>(column)).choices) {
        if (choice.compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
          *stored = choice;
          return true;
        }
      }
      return false;
  }
  return false;
}

void ColumnGrid::paste_text(const QString& text) {
  QString body = text;
  body.replace("\r\n", "\n");
  body.replace('\r', '\n');
  if (body.endsWith('\n')) body.chop(1);  // spreadsheets end the last line too
  if (body.isEmpty()) return;

  const std::vector<int> shown = shown_data_columns();
  const int first_row = current_data_row();
  int first = 0;
  const int current_column = currentColumn() - 1;
  const auto at = std::find(shown.begin(), shown.end(), current_column);
  if (at != shown.end()) first = static_cast<int>(at - shown.begin());

  const QStringList lines = body.split('\n');
  for (int l = 0; l < lines.size(); ++l) {
    const int row = first_row + l;
    if (row >= rowCount()) break;
    const QStringList fields = lines[l].split('\t');
    for (int f = 0; f < fields.size(); ++f) {
      const int position = first + f;
      if (position >= static_cast<int>(shown.size())) break;
      const int column = shown[static_cast<std::size_t>(position)];
      QString stored;
      if (accepts(column, fields[f], &stored)) set_cell(row, column, stored);
    }
  }
}

void ColumnGrid::copy_to_clipboard() const { QApplication::clipboard()->setText(selection_text()); }

void ColumnGrid::paste_from_clipboard() { paste_text(QApplication::clipboard()->text()); }

void ColumnGrid::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState) {
    if (event->matches(QKeySequence::Copy)) {
      copy_to_clipboard();
      return;
    }
    if (event->matches(QKeySequence::Paste)) {
      paste_from_clipboard();
      return;
    }
  }
  QTableWidget::keyPressEvent(event);
}

}  // namespace brenvale::ui
