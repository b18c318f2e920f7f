#include "settings/par_gen_window.h"

#include <cstdlib>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "settings/ethernet_port.h"
#include "ui/button_panel.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

using S = Setting;
using R = SettingsRow;

// Rows inside a panel: stacked from the top with a fixed pitch; a panel ends 12 pixels below its
// last visible control.
constexpr int kRowTop = 4;
constexpr int kRowPitch = 28;
constexpr int kRowHeight = 24;
constexpr int kPanelBottomMargin = 12;
constexpr int kHeaderHeight = 24;
constexpr int kRowWidth = 420;
constexpr int kLabelLeft = 8;
constexpr int kControlLeft = 290;
constexpr int kCheckWidth = kControlLeft - kLabelLeft - 4;
constexpr int kEditWidth = 70;
constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;

constexpr const char* kSendMethodTexts[] = {"On Data Change", "On Timer"};

std::size_t at(S s) { return static_cast<std::size_t>(s); }
std::size_t at(R r) { return static_cast<std::size_t>(r); }
std::size_t at(SettingsPanel p) { return static_cast<std::size_t>(p); }

// The twelve Ethernet address edits in the order the "." key walks them.
constexpr S kEthernetAddressSettings[12] = {S::kEthernetIp1,  S::kEthernetIp2,  S::kEthernetIp3,  S::kEthernetIp4,
                                            S::kEthernetSm1,  S::kEthernetSm2,  S::kEthernetSm3,  S::kEthernetSm4,
                                            S::kEthernetGat1, S::kEthernetGat2, S::kEthernetGat3, S::kEthernetGat4};

}  // namespace

TFParGen2::TFParGen2(const Catalogue& catalogue, QWidget* parent) : QDialog(parent), catalogue_(catalogue) {
  setObjectName("TFParGen2");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  P_Title = new ui::TitlePanel(this);

  CPG = new QScrollArea(this);
  CPG->setObjectName("CPG");
  CPG->setWidgetResizable(true);
  CPG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  group_ = new QWidget;
  auto* stack = new QVBoxLayout(group_);
  stack->setContentsMargins(4, 4, 4, 4);
  stack->setSpacing(4);
  build_panel(SettingsPanel::kSelectDevice, "CP_Select_Device");
  build_panel(SettingsPanel::kJ1939, "CP_J1939");
  build_panel(SettingsPanel::kCanopen, "CP_CANopen");
  build_panel(SettingsPanel::kEthernet, "CP_Ethernet");
  for (const Panel& panel : panels_) stack->addWidget(panel.frame);
  stack->addStretch();
  build_rows();
  CPG->setWidget(group_);

  const ui::OkCancelPanel buttons = ui::make_ok_cancel_panel(this);
  QWidget* P_Button = buttons.panel;
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(P_Title);
  layout->addWidget(CPG, 1);
  layout->addWidget(P_Button);

  connect(Btn_OK, &QPushButton::clicked, this, &TFParGen2::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(CB_Select_Device_Device, &QComboBox::currentIndexChanged, this, &TFParGen2::Aggiorna_Layout);
  connect(CB_CANopen_TPDO_Send_Method, &QComboBox::currentIndexChanged, this, &TFParGen2::Aggiorna_Layout);
  connect(checks_[at(S::kNodeGuard)], &QCheckBox::toggled, this, &TFParGen2::Aggiorna_Layout);
  connect(checks_[at(S::kEnSdoClient)], &QCheckBox::toggled, this, &TFParGen2::Aggiorna_Layout);

  // The wheel scrolls the group wherever the pointer is over it, also above a list or an edit,
  // so that a turn never changes a setting by accident.
  CPG->viewport()->installEventFilter(this);
  for (QWidget* child : group_->findChildren<QWidget*>()) child->installEventFilter(this);

  // Only the height follows the user; the rows are laid out for this width.
  setMinimumSize(kClientWidth, 200);
  setMaximumWidth(kClientWidth);
  resize(kClientWidth, kClientHeight);
  ui::center_on_screen(this);

  Set_Lang();
  write_controls(SettingsRecord{});
  Aggiorna_Layout();
}

void TFParGen2::build_panel(SettingsPanel which, const char* name) {
  Panel& panel = panels_[at(which)];
  panel.frame = new QWidget(group_);
  panel.frame->setObjectName(name);
  panel.header = new QToolButton(panel.frame);
  panel.header->setObjectName(QString(name) + "_Header");
  panel.header->setCheckable(true);
  panel.header->setChecked(true);
  panel.header->setArrowType(Qt::DownArrow);
  panel.header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  panel.header->setAutoRaise(true);
  panel.header->setFixedHeight(kHeaderHeight);
  panel.header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  QFont bold = panel.header->font();
  bold.setBold(true);
  panel.header->setFont(bold);
  panel.body = new QWidget(panel.frame);
  panel.body->setObjectName(QString(name) + "_Body");
  auto* layout = new QVBoxLayout(panel.frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel.header);
  layout->addWidget(panel.body);
  connect(panel.header, &QToolButton::toggled, this, [this, &panel](bool expanded) {
    panel.header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    Aggiorna_Layout();
  });
}

QWidget* TFParGen2::add_row(SettingsRow row) {
  auto* box = new QWidget(panels_[at(panel_of(row))].body);
  box->setFixedSize(kRowWidth, kRowHeight);
  rows_[at(row)] = box;
  return box;
}

QLabel* TFParGen2::add_label(QWidget* row, const char* name, int left, int width) {
  auto* label = new QLabel(row);
  label->setObjectName(name);
  label->setGeometry(left, 0, width, kRowHeight);
  return label;
}

QLineEdit* TFParGen2::add_edit(QWidget* row, const char* name, Setting setting, int left, int width) {
  auto* edit = new QLineEdit(row);
  edit->setObjectName(name);
  edit->setGeometry(left, 1, width, kRowHeight - 2);
  edits_[at(setting)] = edit;
  return edit;
}

QCheckBox* TFParGen2::add_check(QWidget* row, const char* name, Setting setting, int left, int width) {
  auto* check = new QCheckBox(row);
  check->setObjectName(name);
  check->setGeometry(left, 0, width, kRowHeight);
  checks_[at(setting)] = check;
  return check;
}

QComboBox* TFParGen2::add_combo(QWidget* row, const char* name, int left, int width) {
  auto* combo = new QComboBox(row);
  combo->setObjectName(name);
  combo->setGeometry(left, 0, width, kRowHeight);
  return combo;
}

void TFParGen2::build_rows() {
  QWidget* row = add_row(R::kSelectDevice);
  CB_Select_Device_Device = add_combo(row, "CB_Select_Device_Device", kLabelLeft, 260);
  CB_Select_Device_Device->addItems({kDeviceWithoutPort, kDeviceWithPort});

  row = add_row(R::kJ1939Baudrate);
  L_J1939_Baudrate = add_label(row, "L_J1939_Baudrate", kLabelLeft, kCheckWidth);
  CB_J1939_Baudrate = add_combo(row, "CB_J1939_Baudrate", kControlLeft, 110);
  for (const char* text : kBitRateTexts) CB_J1939_Baudrate->addItem(text);

  row = add_row(R::kJ1939TimeOut);
  L_J1939_TimeOut = add_label(row, "L_J1939_TimeOut", kLabelLeft, kCheckWidth);
  add_edit(row, "E_J1939_TimeOut", S::kTimeOutData, kControlLeft, kEditWidth);

  row = add_row(R::kJ1939PeerToPeer);
  add_check(row, "CB_J1939_Enable_Peer_To_Peer", S::kPeerToPeer, kLabelLeft, kRowWidth - kLabelLeft);

  row = add_row(R::kJ1939IdDevice);
  L_J1939_ID_Device = add_label(row, "L_J1939_ID_Device", kLabelLeft, kCheckWidth);
  add_edit(row, "E_J1939_ID_Device", S::kIdDevJ1939, kControlLeft, kEditWidth);

  row = add_row(R::kJ1939FilterFeca);
  add_check(row, "CB_J1939_En_Filter_FECA", S::kEnableFilterFeca, kLabelLeft, kCheckWidth);
  add_edit(row, "E_J1939_Filter_FECA", S::kFilterFecaTime, kControlLeft, kEditWidth);

  row = add_row(R::kCanopenIdDevice);
  L_CANopen_IDDevice = add_label(row, "L_CANopen_IDDevice", kLabelLeft, kCheckWidth);
  add_edit(row, "E_CANopen_IDDevice", S::kIdDevCanopen, kControlLeft, kEditWidth);

  row = add_row(R::kCanopenBaudrate);
  L_CANopen_Baudrate = add_label(row, "L_CANopen_Baudrate", kLabelLeft, kCheckWidth);
  CB_CANopen_Baudrate = add_combo(row, "CB_CANopen_Baudrate", kControlLeft, 110);
  for (const char* text : kBitRateTexts) CB_CANopen_Baudrate->addItem(text);
  CB_CANopen_Baudrate->addItem(QString());  // the empty tenth entry, stored as "9"

  row = add_row(R::kCanopenSetOperational);
  add_check(row, "CB_CANopen_SetOpe", S::kSetOpeCanopen, kLabelLeft, kRowWidth - kLabelLeft);

  row = add_row(R::kCanopenNetworkStart);
  add_check(row, "CB_CANopen_NetOpe", S::kNetStartCanopen, kLabelLeft, kCheckWidth);
  add_edit(row, "E_CANopen_NetOpe_Delay", S::kDelayCanopen, kControlLeft, kEditWidth);

  row = add_row(R::kCanopenTpdoSendMethod);
  L_CANopen_TPDO_Send_Method = add_label(row, "L_CANopen_TPDO_Send_Method", kLabelLeft, kCheckWidth);
  CB_CANopen_TPDO_Send_Method = add_combo(row, "CB_CANopen_TPDO_Send_Method", kControlLeft, 130);
  for (const char* text : kSendMethodTexts) CB_CANopen_TPDO_Send_Method->addItem(text);

  row = add_row(R::kCanopenTpdoSendTime);
  L_CANopen_TPDO_Send_Time = add_label(row, "L_CANopen_TPDO_Send_Time", kLabelLeft, kCheckWidth);
  add_edit(row, "E_CANopen_TPDO_Send_Time", S::kSentTpdoTime, kControlLeft, kEditWidth);

  row = add_row(R::kCanopenEnableNodeGuard);
  add_check(row, "CB_CANopen_Enable_NodeGuard", S::kNodeGuard, kLabelLeft, kRowWidth - kLabelLeft);

  row = add_row(R::kCanopenNodeGuardSendJ1939);
  add_check(row, "CB_CANopen_Nodeguard_Send_J1939", S::kSendNgJ1939, kLabelLeft, kCheckWidth);
  add_edit(row, "E_CANopen_Nodeguard_Send_J1939_Time", S::kBgSendEvery, kControlLeft, kEditWidth);

  row = add_row(R::kCanopenEnableSdoClient);
  add_check(row, "CB_CANopen_Enable_SDO_Client", S::kEnSdoClient, kLabelLeft, kRowWidth - kLabelLeft);

  row = add_row(R::kCanopenSdoTimeout);
  L_CANopen_SDO_Timeout = add_label(row, "L_CANopen_SDO_Timeout", kLabelLeft, kCheckWidth);
  add_edit(row, "E_CANopen_SDO_Timeout", S::kToSdoClient, kControlLeft, kEditWidth);

  // Four byte edits with dots between them, behind a caption or the gateway's check box.
  static const char* const kEditNames[12] = {"E_Ethernet_IP1",  "E_Ethernet_IP2",  "E_Ethernet_IP3",  "E_Ethernet_IP4",
                                             "E_Ethernet_SM1",  "E_Ethernet_SM2",  "E_Ethernet_SM3",  "E_Ethernet_SM4",
                                             "E_Ethernet_GAT1", "E_Ethernet_GAT2", "E_Ethernet_GAT3", "E_Ethernet_GAT4"};
  const R address_rows[3] = {R::kEthernetIp, R::kEthernetSubnetMask, R::kEthernetGateway};
  for (int line = 0; line < 3; ++line) {
    row = add_row(address_rows[line]);
    if (line == 0) L_Ethernet_IP = add_label(row, "L_Ethernet_IP", kLabelLeft, 120);
    if (line == 1) L_Ethernet_SM = add_label(row, "L_Ethernet_SM", kLabelLeft, 120);
    if (line == 2) add_check(row, "CB_Ethernet_En_GAT", S::kEthernetEnGat, kLabelLeft, 120);
    for (int byte = 0; byte < 4; ++byte) {
      const int index = line * 4 + byte;
      const int left = 140 + byte * 56;
      QLineEdit* edit = add_edit(row, kEditNames[index], kEthernetAddressSettings[index], left, 42);
      edit->installEventFilter(this);
      ethernet_edits_[static_cast<std::size_t>(index)] = edit;
      if (byte < 3) {
        auto* dot = new QLabel(".", row);
        dot->setAlignment(Qt::AlignCenter);
        dot->setGeometry(left + 42, 0, 14, kRowHeight);
      }
    }
  }
}

void TFParGen2::Set_Lang() {
  const Catalogue& cat = catalogue_;
  auto text = [&cat](int index) { return ui::qs(cat.get(index)); };
  auto edit = [this](S s) { return edits_[at(s)]; };
  auto check = [this](S s) { return checks_[at(s)]; };

  setWindowTitle(text(1000));
  P_Title->set_description(text(1001));
  Btn_OK->setText(text(1002));
  Btn_OK->setToolTip(text(1004));
  Btn_Cancel->setText(text(1003));
  Btn_Cancel->setToolTip(text(1005));

  // Panel captions follow the language too, so that a language change leaves no stale heading.
  panels_[at(SettingsPanel::kSelectDevice)].header->setText("1. " + text(1006));
  panels_[at(SettingsPanel::kJ1939)].header->setText("2. " + text(1108));
  panels_[at(SettingsPanel::kCanopen)].header->setText("3. " + text(1157));
  panels_[at(SettingsPanel::kEthernet)].header->setText("4. " + text(1087));

  CB_Select_Device_Device->setToolTip(text(1007));

  L_J1939_Baudrate->setText(text(1109));
  CB_J1939_Baudrate->setToolTip(text(1110));
  L_J1939_TimeOut->setText(text(1111));
  edit(S::kTimeOutData)->setToolTip(text(1112));
  check(S::kPeerToPeer)->setText(text(1115));
  check(S::kPeerToPeer)->setToolTip(text(1116));
  L_J1939_ID_Device->setText(text(1117));
  edit(S::kIdDevJ1939)->setToolTip(text(1118));
  check(S::kEnableFilterFeca)->setText(text(1119));
  edit(S::kFilterFecaTime)->setToolTip(text(1120));

  L_CANopen_IDDevice->setText(text(1158));
  edit(S::kIdDevCanopen)->setToolTip(text(1159));
  L_CANopen_Baudrate->setText(text(1160));
  CB_CANopen_Baudrate->setToolTip(text(1161));
  check(S::kSetOpeCanopen)->setText(text(1162));
  check(S::kSetOpeCanopen)->setToolTip(text(1163));
  check(S::kNetStartCanopen)->setText(text(1164));
  check(S::kNetStartCanopen)->setToolTip(text(1165));
  edit(S::kDelayCanopen)->setToolTip(text(1166));
  L_CANopen_TPDO_Send_Method->setText(text(1167));
  CB_CANopen_TPDO_Send_Method->setToolTip(text(1168));
  L_CANopen_TPDO_Send_Time->setText(text(1169));
  edit(S::kSentTpdoTime)->setToolTip(text(1170));
  check(S::kNodeGuard)->setText(text(1171));
  check(S::kNodeGuard)->setToolTip(text(1172));
  check(S::kSendNgJ1939)->setText(text(1173));
  check(S::kSendNgJ1939)->setToolTip(text(1174));
  edit(S::kBgSendEvery)->setToolTip(text(1175));
  check(S::kEnSdoClient)->setText(text(1176));
  check(S::kEnSdoClient)->setToolTip(text(1177));
  L_CANopen_SDO_Timeout->setText(text(1178));
  edit(S::kToSdoClient)->setToolTip(text(1179));

  L_Ethernet_IP->setText(text(1088));
  L_Ethernet_SM->setText(text(1093));
  check(S::kEthernetEnGat)->setText(text(1098));
  check(S::kEthernetEnGat)->setToolTip(text(1099));
  // The byte hints run 1089-1092 (IP), 1094-1097 (mask) and 1100-1103 (gateway).
  const int first_hint[3] = {1089, 1094, 1100};
  for (int index = 0; index < 12; ++index) {
    ethernet_edits_[static_cast<std::size_t>(index)]->setToolTip(text(first_hint[index / 4] + index % 4));
  }
}

SettingsRecord TFParGen2::read_controls() const {
  SettingsRecord record;
  record.set_variant(CB_Select_Device_Device->currentIndex() == 1 ? HardwareVariant::kWithPort
                                                                  : HardwareVariant::kWithoutPort);
  record.set_index(S::kBaudRateCan, CB_J1939_Baudrate->currentIndex());
  record.set_index(S::kBaudCanopen, CB_CANopen_Baudrate->currentIndex());
  record.set_flag(S::kSentTpdo, CB_CANopen_TPDO_Send_Method->currentIndex() == 0);
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const S s = static_cast<S>(i);
    if (edits_[i]) record.set_number(s, ui::us(edits_[i]->text()));
    if (checks_[i]) record.set_flag(s, checks_[i]->isChecked());
  }
  return record;
}

void TFParGen2::write_controls(const SettingsRecord& record) {
  CB_Select_Device_Device->setCurrentIndex(record.with_port() ? 1 : 0);
  CB_J1939_Baudrate->setCurrentIndex(record.index(S::kBaudRateCan));
  CB_CANopen_Baudrate->setCurrentIndex(record.index(S::kBaudCanopen));
  CB_CANopen_TPDO_Send_Method->setCurrentIndex(record.tpdo_on_data_change() ? 0 : 1);
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const S s = static_cast<S>(i);
    if (edits_[i]) edits_[i]->setText(ui::qs(record.number(s)));
    if (checks_[i]) checks_[i]->setChecked(record.flag(s));
  }
}

void TFParGen2::Aggiorna_Layout() {
  const SettingsRecord record = read_controls();
  std::array<int, static_cast<std::size_t>(SettingsPanel::kCount)> bottom{};
  std::array<int, static_cast<std::size_t>(SettingsPanel::kCount)> next_top;
  next_top.fill(kRowTop);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const R row = static_cast<R>(i);
    const std::size_t panel = at(panel_of(row));
    const bool shown = row_shown(record, row);
    rows_[i]->setVisible(shown);
    if (!shown) continue;
    rows_[i]->move(0, next_top[panel]);
    bottom[panel] = next_top[panel] + kRowHeight;
    next_top[panel] += kRowPitch;
  }
  for (std::size_t p = 0; p < panels_.size(); ++p) {
    const Panel& panel = panels_[p];
    const bool expanded = panel.header->isChecked();
    panel.body->setFixedHeight(bottom[p] + kPanelBottomMargin);
    panel.body->setVisible(expanded);
    panel.frame->setFixedHeight(kHeaderHeight + (expanded ? bottom[p] + kPanelBottomMargin : 0));
    panel.frame->setVisible(panel_shown(record, static_cast<SettingsPanel>(p)));
  }
}

bool TFParGen2::FormShow(const ConfigFiles& files) {
  par_gen_ = files.par_gen();
  Result<SettingsRecord> record = load_settings(par_gen_);
  if (!record) {
    ui::error_box(isVisible() || !parentWidget() ? this : parentWidget(), ui::qs(record.error().message));
    return false;
  }
  write_controls(*record);
  Aggiorna_Layout();
  CPG->verticalScrollBar()->setValue(0);
  return true;
}

int TFParGen2::open_for(const ConfigFiles& files) {
  if (!FormShow(files)) return QDialog::Rejected;
  return exec();
}

bool TFParGen2::Controllo_dati(const SettingsRecord& record) {
  const std::optional<SettingsFailure> failure = validate_settings(record);
  if (!failure) return true;
  ui::error_box(this, ui::qs(catalogue_.get(failure->message_index)));
  return false;
}

void TFParGen2::Btn_OKClick() {
  const SettingsRecord record = read_controls();
  if (!Controllo_dati(record)) return;
  const Status saved = save_settings(par_gen_, record);
  if (!saved) {
    ui::error_box(this, ui::qs(saved.error().message));
    return;
  }
  accept();
}

void TFParGen2::scroll_group(int notches) {
  QScrollBar* bar = CPG->verticalScrollBar();
  const int lines = std::abs(notches) * QApplication::wheelScrollLines();
  const QAbstractSlider::SliderAction step =
      notches > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
  for (int i = 0; i < lines; ++i) bar->triggerAction(step);
}

bool TFParGen2::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    wheel_rest_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    const int notches = wheel_rest_ / QWheelEvent::DefaultDeltasPerStep;
    wheel_rest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    scroll_group(notches);
    return true;
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == ".") {
    for (std::size_t i = 0; i < ethernet_edits_.size(); ++i) {
      if (watched != ethernet_edits_[i]) continue;
      // The dot ends an address byte: never typed, the next byte edit takes over.
      if (i + 1 < ethernet_edits_.size()) {
        QLineEdit* next = ethernet_edits_[i + 1];
        if (next->isVisible() && next->isEnabled()) next->setFocus(Qt::TabFocusReason);
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace brenvale
