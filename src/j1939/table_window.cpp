#include "j1939/table_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/column_grid.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

ui::GridEditor grid_editor(CellEditor editor) {
  switch (editor) {
    case CellEditor::kList:
      return ui::GridEditor::kList;
    case CellEditor::kCheck:
      return ui::GridEditor::kCheck;
    case CellEditor::kText:
      break;
  }
  return ui::GridEditor::kText;
}

QPushButton* add_button(QWidget* parent, QHBoxLayout* row, const char* name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setMinimumWidth(90);
  row->addWidget(button);
  return button;
}

}  // namespace

TableWindow::TableWindow(AppState& state, QWidget* parent, const char* name, Captions captions, int width, int height)
    : QDialog(parent), state_(state), captions_(captions) {
  setObjectName(name);
  P_Title = new ui::TitlePanel(this);
  sga = new ui::ColumnGrid(this);
  sga->setObjectName("sga");

  auto* P_Button = new QWidget(this);
  P_Button->setObjectName("P_Button");
  auto* buttons = new QHBoxLayout(P_Button);
  buttons->setContentsMargins(8, 6, 8, 6);
  Btn_OK = add_button(P_Button, buttons, "Btn_OK");
  Btn_Cancel = add_button(P_Button, buttons, "Btn_Cancel");
  Btn_DelRow = add_button(P_Button, buttons, "Btn_DelRow");
  Btn_InsRow = add_button(P_Button, buttons, "Btn_InsRow");
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(P_Title);
  layout->addWidget(sga, 1);
  layout->addWidget(P_Button);

  connect(Btn_OK, &QPushButton::clicked, this, &TableWindow::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_DelRow, &QPushButton::clicked, this, &TableWindow::Btn_DelRowClick);
  connect(Btn_InsRow, &QPushButton::clicked, this, &TableWindow::Btn_InsRowClick);

  ui::fix_size_centered(this, width, height);
}

int TableWindow::open_modal() {
  if (Status loaded = load_table(); !loaded) {
    ui::error_box(parentWidget(), ui::qs(loaded.error().message));
    return QDialog::Rejected;
  }
  fill_grid();
  return exec();
}

void TableWindow::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  setWindowTitle(ui::qs(cat.get(captions_.title)));
  P_Title->set_description(ui::qs(cat.get(captions_.description)));
  QStringList headers;
  for (const ColumnDescriptor& column_info : cells().columns()) headers << ui::qs(cat.get(column_info.header));
  sga->set_headers(ui::qs(cat.get(captions_.row_number)), headers);
  Btn_OK->setText(ui::qs(cat.get(captions_.ok)));
  Btn_Cancel->setText(ui::qs(cat.get(captions_.cancel)));
  Btn_DelRow->setText(ui::qs(cat.get(captions_.delete_row)));
  Btn_InsRow->setText(ui::qs(cat.get(captions_.insert_row)));
}

QStringList TableWindow::list_choices(int column) const {
  QStringList choices;
  for (const char* choice : kDataPageChoices) choices << choice;
  return choices;
}

void TableWindow::fill_grid() {
  CellTable& table = cells();
  const std::vector<int> widths = column_widths();
  std::vector<ui::GridColumn> columns;
  for (int c = 0; c < table.column_count(); ++c) {
    const ColumnDescriptor& column_info = table.columns()[static_cast<std::size_t>(c)];
    ui::GridColumn column;
    column.editor = grid_editor(column_info.editor);
    column.width = widths.at(static_cast<std::size_t>(c) + 1);
    if (column_info.editor == CellEditor::kList) column.choices = list_choices(c);
    columns.push_back(column);
  }
  sga->set_layout(table.row_count(), widths.front(), columns);
  for (int c = 0; c < table.column_count(); ++c) sga->set_column_shown(c, table.column_shown(c, port()));
  show_rows_from(0);
  Set_Lang();
  sga->set_current_data_cell(0, 0);
}

void TableWindow::read_grid() {
  CellTable& table = cells();
  for (int r = 0; r < table.row_count(); ++r)
    for (int c = 0; c < table.column_count(); ++c) table.set_cell(r, c, ui::us(sga->cell(r, c)));
}

void TableWindow::Btn_OKClick() {
  read_grid();
  if (const std::optional<RowFailure> failure = validate()) {
    ui::error_box(this, ui::qs(failure_text(state_.catalogue, *failure)));
    return;
  }
  if (Status saved = save_table(); !saved) {
    ui::error_box(this, ui::qs(saved.error().message));
    return;
  }
  accept();
}

void TableWindow::Btn_InsRowClick() {
  const int row = sga->current_data_row();
  read_grid();
  cells().insert_row(row);
  show_rows_from(row);
}

void TableWindow::Btn_DelRowClick() {
  const int row = sga->current_data_row();
  const QString question = ui::qs(state_.catalogue.get(captions_.delete_question)) + QString::number(row + 1);
  if (!ui::question_box(this, question)) return;
  read_grid();
  cells().delete_row(row);
  show_rows_from(row);
}

void TableWindow::show_rows_from(int row) {
  CellTable& table = cells();
  for (int r = row; r < table.row_count(); ++r)
    for (int c = 0; c < table.column_count(); ++c) sga->set_cell(r, c, ui::qs(table.cell(r, c)));
}

}  // namespace brenvale
