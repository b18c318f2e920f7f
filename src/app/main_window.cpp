#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/product.h"
#include "eds/eds_writer.h"
#include "options/update_timer.h"
#include "ui/dialog_frame.h"
#include "ui/file_dialog.h"
#include "ui/glyphs.h"
#include "ui/link_label.h"
#include "ui/message_box.h"

namespace brenvale {

namespace {

constexpr int kFirstCheckMs = static_cast<int>(UpdateCheckTimer::kFirstInterval.count());
constexpr int kLaterChecksMs = static_cast<int>(UpdateCheckTimer::kLaterInterval.count());

// Buttons that work without an open configuration.
bool needs_configuration(const QString& name) {
  return name != "Btn_New" && name != "Btn_Open" && name != "Btn_Close" && name != "Btn_Info" && name != "Btn_Opz";
}

}  // namespace

TFMain::TFMain(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
  // Creation is the start-up: folders, settings, language and the remembered configuration come
  // first, since every later window reads them at its own creation.
  state_.start_up();
  setObjectName("TFMain");
  setWindowTitle(QString::fromUtf8(kWindowTitle));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  L_SW_Code = add_label("L_SW_Code", 16, 8);
  L_SW_Code->setText(QString::fromUtf8(kProductCode));
  QFont big = L_SW_Code->font();
  big.setPointSize(20);
  big.setBold(true);
  L_SW_Code->setFont(big);
  ui::set_text_colour(L_SW_Code, QColor(128, 128, 128));
  L_SW_Code->adjustSize();

  L_SW_Desc = add_label("L_SW_Desc", 16, 42);
  L_SW_Desc->setText(QString::fromUtf8(kProductDescription));
  QFont bold = L_SW_Desc->font();
  bold.setBold(true);
  L_SW_Desc->setFont(bold);
  ui::set_text_colour(L_SW_Desc, QColor(128, 128, 128));
  L_SW_Desc->adjustSize();

  LL_Update = new ui::LinkLabel(this);
  LL_Update->setObjectName("LL_Update");
  LL_Update->move(208, 19);
  LL_Update->hide();

  Btn_Info = add_button("Btn_Info", 516, 8, 50, 50);
  Btn_Info->setIcon(ui::glyph_icon(ui::Glyph::kInformation));
  Btn_Opz = add_button("Btn_Opz", 574, 8, 50, 50);
  Btn_Opz->setIcon(ui::glyph_icon(ui::Glyph::kOptions));
  Btn_Close = add_button("Btn_Close", 632, 8, 50, 50);
  Btn_Close->setIcon(ui::glyph_icon(ui::Glyph::kClose));

  L_Begin = add_label("L_Begin", 16, 84);
  auto* Shape2 = new QFrame(this);
  Shape2->setObjectName("Shape2");
  Shape2->setFrameShape(QFrame::Box);
  Shape2->setGeometry(80, 70, 348, 36);
  L_Name_Conf = add_label("L_Name_Conf", 87, 75);
  L_Name_Conf_L2 = add_label("L_Name_Conf_L2", 87, 88);

  const int step_tops[8] = {128, 172, 216, 260, 304, 348, 392, 436};
  for (int i = 0; i < 8; ++i) {
    L_Step[i] = add_label(QString("L_Step_%1").arg(i + 1).toUtf8().constData(), 16, step_tops[i]);
  }

  Btn_New = add_button("Btn_New", 80, 112);
  Btn_Open = add_button("Btn_Open", 258, 112);
  Btn_Prm_Gen = add_button("Btn_Prm_Gen", 80, 156);
  Btn_Receive_J1939 = add_button("Btn_Receive_J1939", 80, 200);
  Btn_Define_Receive_SDO = add_button("Btn_Define_Receive_SDO", 258, 200);
  Btn_Define_Receive_TPDO = add_button("Btn_Define_Receive_TPDO", 436, 200);
  Btn_Transmit_J1939 = add_button("Btn_Transmit_J1939", 80, 244);
  Btn_Define_Transmit_SDO = add_button("Btn_Define_Transmit_SDO", 258, 244);
  Btn_Define_Transmit_RPDO = add_button("Btn_Define_Transmit_RPDO", 436, 244);
  Btn_Set_SDO_Client = add_button("Btn_Set_SDO_Client", 80, 288);
  Btn_Set_NodeGuard = add_button("Btn_Set_NodeGuard", 80, 332);
  Btn_CANopen_EDSFile = add_button("Btn_CANopen_EDSFile", 80, 376);
  Btn_CreateBin = add_button("Btn_CreateBin", 80, 420);

  maker_link_ = new ui::LinkLabel(this);
  maker_link_->setObjectName("L_Maker_Link");
  QString site = QString::fromStdString(maker_server());
  const int scheme = site.indexOf("://");
  maker_link_->set_link(scheme >= 0 ? site.mid(scheme + 3) : site, QString::fromStdString(maker_home_page()));
  maker_link_->adjustSize();
  maker_link_->move(565, 436);

  auto* Shape1 = new QFrame(this);
  Shape1->setObjectName("Shape1");
  Shape1->setFrameShape(QFrame::HLine);
  Shape1->setGeometry(10, 471, 674, 1);

  Timer_Update = new QTimer(this);
  Timer_Update->setObjectName("Timer_Update");
  Timer_Update->setInterval(kFirstCheckMs);
  connect(Timer_Update, &QTimer::timeout, this, &TFMain::Timer_UpdateTimer);

  // The client height is the top of the last step's button plus 152.
  ui::fix_size_centered(this, 694, 420 + 152);

  Switch_Update_Timer();
  Set_Lang();
}

QPushButton* TFMain::add_button(const char* name, int left, int top, int width, int height) {
  auto* button = new QPushButton(this);
  button->setObjectName(name);
  button->setGeometry(left, top, width, height);
  connect(button, &QPushButton::clicked, this, &TFMain::Btn_Click);
  return button;
}

QLabel* TFMain::add_label(const char* name, int left, int top) {
  auto* label = new QLabel(this);
  label->setObjectName(name);
  label->move(left, top);
  return label;
}

void TFMain::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  auto text = [&](int index) { return QString::fromStdString(cat.get(index)); };
  auto set_label = [](QLabel* label, const QString& t) {
    label->setText(t);
    label->adjustSize();
  };
  set_label(L_Begin, text(0));
  for (int i = 0; i < 7; ++i) set_label(L_Step[i], text(1 + i));
  set_label(L_Step[7], text(336));
  Btn_New->setText(text(11));
  Btn_Open->setText(text(12));
  Btn_Prm_Gen->setText(text(13));
  Btn_Receive_J1939->setText(text(14));
  Btn_Transmit_J1939->setText(text(15));
  Btn_CreateBin->setText(text(18));
  Btn_Info->setToolTip(text(19));
  Btn_Opz->setToolTip(text(20));
  Btn_Close->setToolTip(text(21));
  Btn_Define_Receive_SDO->setText(text(337));
  Btn_Define_Transmit_SDO->setText(text(338));
  Btn_Define_Receive_TPDO->setText(text(339));
  Btn_Define_Transmit_RPDO->setText(text(340));
  Btn_Set_SDO_Client->setText(text(341));
  Btn_Set_NodeGuard->setText(text(342));
  Btn_CANopen_EDSFile->setText(text(343));
  if (LL_Update->isVisible() || !LL_Update->url().isEmpty()) LL_Update->set_link(text(23), LL_Update->url());
  Show_Configuration();
}

void TFMain::Show_Configuration() {
  const Catalogue& cat = state_.catalogue;
  if (state_.active.is_open()) {
    L_Name_Conf->setText(QString::fromStdString(cat.get(10)));
    L_Name_Conf_L2->setText(QString::fromStdString(state_.active.name()));
  } else {
    L_Name_Conf->setText(QString::fromStdString(cat.get(8)));
    L_Name_Conf_L2->setText(QString::fromStdString(cat.get(9)));
  }
  L_Name_Conf->adjustSize();
  L_Name_Conf_L2->adjustSize();
}

void TFMain::set_step(const QString& button_name, std::function<void()> action) {
  steps_[button_name] = std::move(action);
}

void TFMain::Change_Language() {
  if (change_language_) {
    change_language_();
  } else {
    Set_Lang();
  }
}

void TFMain::Btn_Click() {
  const QString name = sender() ? sender()->objectName() : QString();
  if (name == "Btn_Close") {
    close();
    return;
  }
  if (needs_configuration(name) && !state_.active.is_open()) {
    ui::error_box(this, QString::fromStdString(state_.catalogue.get(22)));
    return;
  }
  const auto step = steps_.find(name);
  if (step != steps_.end() && step->second) step->second();
}

void TFMain::Switch_Update_Timer() {
  if (state_.settings.update_check_enabled()) {
    // Switching on a running timer must not restart its countdown.
    if (!Timer_Update->isActive()) Timer_Update->start();
  } else {
    Timer_Update->stop();
  }
}

void TFMain::Timer_UpdateTimer() {
  Timer_Update->stop();
  const bool newer = version_check_ && version_check_();
  if (newer) {
    LL_Update->set_link(QString::fromStdString(state_.catalogue.get(23)), QString::fromStdString(maker_download_page()));
    LL_Update->adjustSize();
    LL_Update->show();
  } else {
    LL_Update->hide();
  }
  Timer_Update->setInterval(kLaterChecksMs);
  Timer_Update->start();
}

void TFMain::Create_EDS() {
  const ConfigFiles files = state_.active.files();
  const QString chosen = ui::save_file_name(this, "SaveEDS", ui::qs(files.folder.string()),
                                            QString::fromUtf8(kEdsFileFilter), QString::fromUtf8(kEdsExtension));
  if (chosen.isEmpty()) return;
  const Status written = write_eds_for_configuration(files, ui::us(chosen));
  if (!written.ok()) ui::error_box(this, ui::qs(written.error().message));
}

bool TFMain::Update_Device() {
  const Result<UpdatePath> compiled = compile_and_write(compiler_, state_.active.files(), compile_clock());
  if (!compiled) {
    ui::error_box(this, ui::qs(compiled.error().message));
    return false;
  }
  if (show_update_window_) show_update_window_();
  return true;
}

void TFMain::Save_Setting() {
  const Status saved = state_.save_settings();
  if (!saved.ok()) ui::error_box(this, QString::fromStdString(saved.error().message));
}

void TFMain::closeEvent(QCloseEvent* event) {
  Save_Setting();
  event->accept();
  QApplication::quit();
}

void TFMain::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (quit_when_shown_ && !painted_) {
    painted_ = true;
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }
}

}  // namespace brenvale
