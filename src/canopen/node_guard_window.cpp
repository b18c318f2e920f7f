#include "canopen/node_guard_window.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "ui/column_grid.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

constexpr int kWidth = 635;
constexpr int kHeight = 495;

struct ColumnTitle {
  const char* name;
  int text_index;
  int left;
  int width;
};
constexpr ColumnTitle kFrameColumns[] = {
    {"L_NG_J1939_Pri", 412, 12, 70},     {"L_NG_J1939_DP", 413, 90, 70},
    {"L_NG_J1939_PGN", 414, 168, 100},   {"L_NG_J1939_SA", 415, 276, 100},
    {"L_NG_J1939_Mnemonic", 416, 384, 239},
};
constexpr int kLineHeight = 21;
constexpr int kLineStep = 23;

}  // namespace

TFDefine_NodeGuard::TFDefine_NodeGuard(const Catalogue& catalogue, const ActiveConfiguration& active, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), active_(active) {
  setObjectName("TFDefine_NodeGuard");
  setModal(true);

  P_Title = new ui::TitlePanel(this);
  P_Title->setGeometry(0, 0, kWidth, 69);

  auto* Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(0, 69, kWidth, 28);
  L_NG_J1939_Title1 = new QLabel(Panel1);
  L_NG_J1939_Title1->setObjectName("L_NG_J1939_Title1");
  L_NG_J1939_Title1->setGeometry(12, 5, kWidth - 24, 18);

  sga = new ui::ColumnGrid(this);
  sga->setObjectName("sga");
  sga->setGeometry(8, 99, kWidth - 16, 190);
  std::vector<ui::GridColumn> columns(kNodeColumnCount, ui::GridColumn{ui::GridEditor::kText, 120, {}});
  sga->set_layout(kGuardedNodeRows, 40, columns);
  sga->horizontalHeader()->setStretchLastSection(true);

  auto* Panel2 = new QFrame(this);
  Panel2->setObjectName("Panel2");
  Panel2->setGeometry(0, 292, kWidth, 159);
  L_NG_J1939_Title2 = new QLabel(Panel2);
  L_NG_J1939_Title2->setObjectName("L_NG_J1939_Title2");
  L_NG_J1939_Title2->setGeometry(12, 2, kWidth - 24, 18);
  for (std::size_t c = 0; c < column_titles_.size(); ++c) {
    column_titles_[c] = new QLabel(Panel2);
    column_titles_[c]->setObjectName(kFrameColumns[c].name);
    column_titles_[c]->setGeometry(kFrameColumns[c].left, 22, kFrameColumns[c].width, 18);
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    const int top = 42 + static_cast<int>(i) * kLineStep;
    FrameLineControls& line = lines_[i];
    line.priority = make_number_list(Panel2, ("CB_NG_J1939_Pri" + n).c_str(), kPriorityChoices);
    line.priority->setGeometry(kFrameColumns[0].left, top, kFrameColumns[0].width, kLineHeight);
    line.data_page = make_number_list(Panel2, ("CB_NG_J1939_DP" + n).c_str(), kNodeGuardDataPageChoices);
    line.data_page->setGeometry(kFrameColumns[1].left, top, kFrameColumns[1].width, kLineHeight);
    line.pgn = make_edit(Panel2, ui::qs("E_NG_J1939_PGN" + n), kFrameColumns[2].left, top,
                              kFrameColumns[2].width, kLineHeight);
    line.sa = make_edit(Panel2, ui::qs("E_NG_J1939_SA" + n), kFrameColumns[3].left, top,
                              kFrameColumns[3].width, kLineHeight);
    line.mnemonic = make_edit(Panel2, ui::qs("E_NG_J1939_Mnemonic" + n), kFrameColumns[4].left, top,
                              kFrameColumns[4].width, kLineHeight);
  }

  const ButtonPanel buttons = add_button_panel(this, kWidth, kHeight);
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;
  connect(Btn_OK, &QPushButton::clicked, this, &TFDefine_NodeGuard::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFDefine_NodeGuard::Btn_CancelClick);

  ui::fix_size_centered(this, kWidth, kHeight);
  Set_Lang();
}

void TFDefine_NodeGuard::Set_Lang() {
  setWindowTitle(ui::qs(catalogue_.get(403)));
  P_Title->set_description(ui::qs(catalogue_.get(404)));
  L_NG_J1939_Title1->setText(ui::qs(catalogue_.get(405)));
  QStringList headers;
  for (const GuardedNodeColumn& column : kGuardedNodeColumns) headers << ui::qs(catalogue_.get(column.header_index));
  sga->set_headers(ui::qs(catalogue_.get(kNodeNumberHeader)), headers);
  L_NG_J1939_Title2->setText(ui::qs(catalogue_.get(411)));
  for (std::size_t c = 0; c < column_titles_.size(); ++c) {
    column_titles_[c]->setText(ui::qs(catalogue_.get(kFrameColumns[c].text_index)));
  }
  Btn_OK->setText(ui::qs(catalogue_.get(417)));
  Btn_Cancel->setText(ui::qs(catalogue_.get(418)));
}

bool TFDefine_NodeGuard::FormShow() {
  const ConfigFiles files = active_.files();
  Result<NodeGuardTable> table = load_node_guard_table(files.node_guard(), files.node_guard_frames());
  if (!table) {
    ui::error_box(this, ui::qs(table.error().message));
    return false;
  }
  sga->clear_cells();
  for (int r = 0; r < kGuardedNodeRows; ++r) {
    const GuardedNode& node = table->rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < kNodeColumnCount; ++c) {
      sga->set_cell(r, c, ui::qs(node.*kGuardedNodeColumns[static_cast<std::size_t>(c)].field));
    }
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i].show(table->frames[i]);
  return true;
}

int TFDefine_NodeGuard::Execute() {
  if (!FormShow()) return QDialog::Rejected;
  return exec();
}

NodeGuardTable TFDefine_NodeGuard::read_controls() const {
  NodeGuardTable table;
  for (int r = 0; r < kGuardedNodeRows; ++r) {
    GuardedNode& node = table.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < kNodeColumnCount; ++c) {
      node.*kGuardedNodeColumns[static_cast<std::size_t>(c)].field = ui::us(sga->cell(r, c));
    }
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) table.frames[i] = lines_[i].read();
  return table;
}

bool TFDefine_NodeGuard::Controllo_dati(const NodeGuardTable& table) {
  if (const std::optional<NodeGuardFailure> failure = validate_node_guard_table(table)) {
    ui::error_box(this, ui::qs(failure_text(catalogue_, *failure)));
    return false;
  }
  return true;
}

void TFDefine_NodeGuard::Btn_OKClick() {
  const NodeGuardTable table = read_controls();
  if (!Controllo_dati(table)) return;
  const ConfigFiles files = active_.files();
  if (Status saved = save_node_guard_table(files.node_guard(), files.node_guard_frames(), table); !saved) {
    ui::error_box(this, ui::qs(saved.error().message));
    return;
  }
  accept();
}

void TFDefine_NodeGuard::Btn_CancelClick() { reject(); }

}  // namespace brenvale
