#include "canopen/sdo_client_window.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

constexpr int kWidth = 784;
constexpr int kHeight = 278;

// One line of the window per frame, in file order.
struct LineNames {
  const char* title;
  int title_index;
  const char* priority;  // requests have no priority list
  const char* data_page;
  const char* pgn;
  const char* sa;
  const char* mnemonic;
};
constexpr LineNames kLines[kSdoClientFrameCount] = {
    {"L_Title_Row_Req_Read", 381, nullptr, "CB_DP_Req_Read", "E_PGN_Req_Read", "E_SA_Req_Read", "E_Mnemonic_Req_Read"},
    {"L_Title_Row_Res_Read", 382, "CB_Pri_Res_Read", "CB_DP_Res_Read", "E_PGN_Res_Read", "E_SA_Res_Read",
     "E_Mnemonic_Res_Read"},
    {"L_Title_Row_Req_Write1", 383, nullptr, "CB_DP_Req_Write1", "E_PGN_Req_Write1", "E_SA_Req_Write1",
     "E_Mnemonic_Req_Write1"},
    {"L_Title_Row_Req_Write2", 384, nullptr, "CB_DP_Req_Write2", "E_PGN_Req_Write2", "E_SA_Req_Write2",
     "E_Mnemonic_Req_Write2"},
    {"L_Title_Row_Res_Write", 385, "CB_Pri_Res_Write", "CB_DP_Res_Write", "E_PGN_Res_Write", "E_SA_Res_Write",
     "E_Mnemonic_Res_Write"},
};

struct ColumnTitle {
  const char* name;
  int text_index;
  int left;
  int width;
};
constexpr int kTitleLeft = 12;
constexpr int kTitleWidth = 262;
constexpr ColumnTitle kColumns[] = {
    {"L_Title_Col_Pri", 386, 282, 70},     {"L_Title_Col_DP", 387, 360, 70},
    {"L_Title_Col_PGN", 388, 438, 96},     {"L_Title_Col_SA", 389, 542, 96},
    {"L_Title_Col_Mnemonic", 390, 646, 126},
};
constexpr int kHeaderTop = 78;
constexpr int kFirstLineTop = 100;
constexpr int kLineStep = 26;
constexpr int kLineHeight = 22;

}  // namespace

TFDefine_Client_SDO::TFDefine_Client_SDO(const Catalogue& catalogue, const ActiveConfiguration& active,
                                         QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), active_(active) {
  setObjectName("TFDefine_Client_SDO");
  setModal(true);

  P_Title = new ui::TitlePanel(this);
  P_Title->setGeometry(0, 0, kWidth, 69);

  for (std::size_t c = 0; c < column_titles_.size(); ++c) {
    column_titles_[c] = new QLabel(this);
    column_titles_[c]->setObjectName(kColumns[c].name);
    column_titles_[c]->setGeometry(kColumns[c].left, kHeaderTop, kColumns[c].width, 18);
  }

  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineNames& names = kLines[i];
    const int top = kFirstLineTop + static_cast<int>(i) * kLineStep;
    row_titles_[i] = new QLabel(this);
    row_titles_[i]->setObjectName(names.title);
    row_titles_[i]->setGeometry(kTitleLeft, top, kTitleWidth, kLineHeight);

    FrameLineControls& line = lines_[i];
    if (names.priority) {
      line.priority = make_number_list(this, names.priority, kPriorityChoices);
      line.priority->setGeometry(kColumns[0].left, top, kColumns[0].width, kLineHeight);
    }
    line.data_page = make_number_list(this, names.data_page, kSdoDataPageChoices);
    line.data_page->setGeometry(kColumns[1].left, top, kColumns[1].width, kLineHeight);
    line.pgn = make_edit(this, names.pgn, kColumns[2].left, top, kColumns[2].width, kLineHeight);
    line.sa = make_edit(this, names.sa, kColumns[3].left, top, kColumns[3].width, kLineHeight);
    line.mnemonic = make_edit(this, names.mnemonic, kColumns[4].left, top, kColumns[4].width, kLineHeight);
  }

  const ButtonPanel buttons = add_button_panel(this, kWidth, kHeight);
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;
  connect(Btn_OK, &QPushButton::clicked, this, &TFDefine_Client_SDO::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFDefine_Client_SDO::Btn_CancelClick);

  ui::fix_size_centered(this, kWidth, kHeight);
  Set_Lang();
}

void TFDefine_Client_SDO::Set_Lang() {
  setWindowTitle(ui::qs(catalogue_.get(379)));
  P_Title->set_description(ui::qs(catalogue_.get(380)));
  for (std::size_t i = 0; i < row_titles_.size(); ++i) row_titles_[i]->setText(ui::qs(catalogue_.get(kLines[i].title_index)));
  for (std::size_t c = 0; c < column_titles_.size(); ++c) {
    column_titles_[c]->setText(ui::qs(catalogue_.get(kColumns[c].text_index)));
  }
  Btn_OK->setText(ui::qs(catalogue_.get(391)));
  Btn_Cancel->setText(ui::qs(catalogue_.get(392)));
}

bool TFDefine_Client_SDO::FormShow() {
  Result<SdoClientTable> table = load_sdo_client_table(active_.files().sdo_client());
  if (!table) {
    ui::error_box(this, ui::qs(table.error().message));
    return false;
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i].show(table->frames[i]);
  return true;
}

int TFDefine_Client_SDO::Execute() {
  if (!FormShow()) return QDialog::Rejected;
  return exec();
}

SdoClientTable TFDefine_Client_SDO::read_controls() const {
  SdoClientTable table;
  for (std::size_t i = 0; i < lines_.size(); ++i) table.frames[i] = lines_[i].read();
  return table;
}

bool TFDefine_Client_SDO::Controllo_dati(const SdoClientTable& table) {
  if (const std::optional<SdoClientFailure> failure = validate_sdo_client_table(table)) {
    ui::error_box(this, ui::qs(failure_text(catalogue_, *failure)));
    return false;
  }
  return true;
}

void TFDefine_Client_SDO::Btn_OKClick() {
  const SdoClientTable table = read_controls();
  if (!Controllo_dati(table)) return;
  if (Status saved = save_sdo_client_table(active_.files().sdo_client(), table); !saved) {
    ui::error_box(this, ui::qs(saved.error().message));
    return;
  }
  accept();
}

void TFDefine_Client_SDO::Btn_CancelClick() { reject(); }

}  // namespace brenvale
