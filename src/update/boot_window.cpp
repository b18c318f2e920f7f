#include "update/boot_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ip_split.h"
#include "app/program_runner.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"
#include "update/ethernet_update_file.h"
#include "update/icmp_pinger.h"

namespace brenvale {

namespace {

constexpr int kClientWidth = 449;
constexpr int kTitleHeight = 69;
constexpr int kIpHeight = 49;
constexpr int kOptionsHeight = 72;
constexpr int kButtonHeight = 40;

QWidget* panel(QWidget* parent, const char* name, int height) {
  auto* p = new QWidget(parent);
  p->setObjectName(name);
  p->setFixedHeight(height);
  return p;
}

}  // namespace

TFBoot::TFBoot(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TFBoot");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  pinger_factory_ = [] { return std::make_unique<IcmpPinger>(); };

  P_Title = new ui::TitlePanel(this, kTitleHeight);

  P_IP_Address = panel(this, "P_IP_Address", kIpHeight);
  L_IP_Address = new QLabel(P_IP_Address);
  L_IP_Address->setObjectName("L_IP_Address");
  auto* ip_row = new QHBoxLayout(P_IP_Address);
  ip_row->setContentsMargins(16, 4, 16, 4);
  ip_row->addWidget(L_IP_Address);
  ip_row->addStretch();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) ip_row->addWidget(new QLabel(".", P_IP_Address));
    E_IP[i] = new QLineEdit("0", P_IP_Address);
    E_IP[i]->setObjectName(QString("E_IP%1").arg(i + 1));
    E_IP[i]->setFixedWidth(40);
    E_IP[i]->installEventFilter(this);
    ip_row->addWidget(E_IP[i]);
  }

  // The device search and the COM port belong to other converters' update modes; this one has
  // only the Ethernet mode, where both stay hidden.
  P_Eth_Search = new QWidget(this);
  P_Eth_Search->setObjectName("P_Eth_Search");
  P_Eth_Search->hide();
  P_Serial = new QWidget(this);
  P_Serial->setObjectName("P_Serial");
  P_Serial->hide();

  P_Options = panel(this, "P_Options", kOptionsHeight);
  L_Update_Option = new QLabel(P_Options);
  L_Update_Option->setObjectName("L_Update_Option");
  CB_Update_Options = new QComboBox(P_Options);
  CB_Update_Options->setObjectName("CB_Update_Options");
  CB_Update_Option_Read_Back = new QCheckBox(P_Options);
  CB_Update_Option_Read_Back->setObjectName("CB_Update_Option_Read_Back");
  auto* options = new QVBoxLayout(P_Options);
  options->setContentsMargins(16, 4, 16, 4);
  auto* option_row = new QHBoxLayout;
  option_row->addWidget(L_Update_Option);
  option_row->addWidget(CB_Update_Options, 1);
  options->addLayout(option_row);
  options->addWidget(CB_Update_Option_Read_Back);

  P_Button = panel(this, "P_Button", kButtonHeight);
  Btn_Cancel = new QPushButton(P_Button);
  Btn_Cancel->setObjectName("Btn_Cancel");
  Btn_Cancel->setAutoDefault(false);
  Btn_Update = new QPushButton(P_Button);
  Btn_Update->setObjectName("Btn_Update");
  Btn_Update->setAutoDefault(false);
  auto* buttons = new QHBoxLayout(P_Button);
  buttons->setContentsMargins(16, 4, 16, 4);
  buttons->addWidget(Btn_Cancel);
  buttons->addStretch();
  buttons->addWidget(Btn_Update);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(P_Title);
  layout->addWidget(P_IP_Address);
  layout->addWidget(P_Options);
  layout->addWidget(P_Button);

  setTabOrder(E_IP[0], E_IP[1]);
  setTabOrder(E_IP[1], E_IP[2]);
  setTabOrder(E_IP[2], E_IP[3]);
  setTabOrder(E_IP[3], CB_Update_Options);
  setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
  setTabOrder(CB_Update_Option_Read_Back, Btn_Cancel);
  setTabOrder(Btn_Cancel, Btn_Update);

  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);

  ui::fix_size_centered(this, kClientWidth, kTitleHeight + kIpHeight + kOptionsHeight + kButtonHeight);
  Set_Lang();
}

TFBoot::~TFBoot() = default;

void TFBoot::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  setWindowTitle(ui::qs(cat.get(782)));
  P_Title->set_description(ui::qs(cat.get(783)));
  L_IP_Address->setText(ui::qs(cat.get(786)));
  for (int i = 0; i < 4; ++i) E_IP[i]->setToolTip(ui::qs(cat.get(801 + i)));
  L_Update_Option->setText(ui::qs(cat.get(794)));
  CB_Update_Options->clear();
  CB_Update_Options->addItems({ui::qs(cat.get(795)), ui::qs(cat.get(796)), ui::qs(cat.get(797))});
  CB_Update_Options->setCurrentIndex(0);
  CB_Update_Options->setToolTip(ui::qs(cat.get(812)));
  CB_Update_Option_Read_Back->setText(ui::qs(cat.get(798)));
  CB_Update_Option_Read_Back->setToolTip(ui::qs(cat.get(813)));
  Btn_Cancel->setText(ui::qs(cat.get(799)));
  Btn_Cancel->setToolTip(ui::qs(cat.get(814)));
  Btn_Update->setText(ui::qs(cat.get(800)));
  Btn_Update->setToolTip(ui::qs(cat.get(815)));
}

void TFBoot::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Set_Lang();
  const IpParts ip = split_ip_address(state_.settings.ip_address);
  if (ip.valid) {
    for (int i = 0; i < 4; ++i) E_IP[i]->setText(ui::qs(ip.parts[static_cast<std::size_t>(i)]));
  }
  const int option = state_.update_option_index;
  CB_Update_Options->setCurrentIndex(option >= 0 && option < CB_Update_Options->count() ? option : 0);
  CB_Update_Option_Read_Back->setChecked(state_.read_back);
  E_IP[0]->setFocus();
}

bool TFBoot::eventFilter(QObject* watched, QEvent* event) {
  // "." moves on to the next address part instead of being typed.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == ".") {
    for (int i = 0; i < 4; ++i) {
      if (watched == E_IP[i]) {
        if (i < 3) E_IP[i + 1]->setFocus();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::string TFBoot::address_text() const {
  return join_ip_address({ui::us(E_IP[0]->text()), ui::us(E_IP[1]->text()), ui::us(E_IP[2]->text()),
                          ui::us(E_IP[3]->text())});
}

bool TFBoot::Ping() {
  const std::unique_ptr<Pinger> pinger = pinger_factory_();
  const PingOutcome outcome = ping_device(*pinger, address_text(), *clock_, [] { QApplication::processEvents(); });
  ping_res = static_cast<int>(outcome.ping_res);
  return outcome.found;
}

void TFBoot::Btn_UpdateClick() {
  // The window stays responsive while it pings; a second click must not start a second update.
  if (!Btn_Update->isEnabled()) return;
  Btn_Update->setEnabled(false);
  const bool found = Ping();
  Btn_Update->setEnabled(true);
  // Closed while it pinged: the user no longer wants the update.
  if (!isVisible()) return;
  if (!found) {
    if (ping_res == static_cast<int>(PingResult::kNoReply)) {
      ui::warning_box(this, ui::qs(state_.catalogue.get(816)));
    } else {
      ui::error_box(this, ui::qs(state_.catalogue.get(817)));
    }
    return;
  }

  EthernetUpdateRequest request;
  request.ip_address = address_text();
  request.option = static_cast<UpdateOption>(std::max(0, CB_Update_Options->currentIndex()));
  request.read_back = CB_Update_Option_Read_Back->isChecked();
  request.master_folder = state_.folders.master();
  request.configuration_folder = state_.active.folder();
  const Status written = write_ethernet_update_file(state_.folders.ethernet_update_file(), request);
  if (!written) {
    ui::error_box(this, ui::qs(written.error().message));
    return;
  }
  start_program_and_wait(state_.folders.ethernet_updater(), {}, ShowState::kNormal, wait_limit_);
}

}  // namespace brenvale
