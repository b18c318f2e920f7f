#include "options/options_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/product.h"
#include "options/language_list.h"
#include "ui/button_panel.h"
#include "ui/dialog_frame.h"
#include "ui/link_label.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

constexpr int kFlagSize = 48;

}  // namespace

TFSoftOptions::TFSoftOptions(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TFSoftOptions");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  P_Title = new ui::TitlePanel(this);
  PC_Options = new QTabWidget(this);
  PC_Options->setObjectName("PC_Options");

  // Language page: the language in use, six slot_entries in two columns, the page line and buttons.
  TS_Language = new QWidget;
  TS_Language->setObjectName("TS_Language");
  L_Sel_Lang = new QLabel(TS_Language);
  L_Sel_Lang->setObjectName("L_Sel_Lang");
  L_Sel_Lang->setGeometry(16, 6, 460, 20);
  for (int k = 0; k < kLanguagesPerPage; ++k) {
    const int column = k / 3;
    const int row = k % 3;
    const int left = 24 + column * 230;
    const int top = 28 + row * 50;
    I_L[k] = new QLabel(TS_Language);
    I_L[k]->setObjectName(QString("I_L%1").arg(k + 1));
    I_L[k]->setGeometry(left, top, kFlagSize, kFlagSize);
    I_L[k]->setAlignment(Qt::AlignCenter);
    I_L[k]->setCursor(Qt::PointingHandCursor);
    I_L[k]->installEventFilter(this);
    L_L[k] = new QLabel(TS_Language);
    L_L[k]->setObjectName(QString("L_L%1").arg(k + 1));
    L_L[k]->setGeometry(left + kFlagSize + 10, top + 14, 160, 20);
    L_L[k]->setCursor(Qt::PointingHandCursor);
    L_L[k]->installEventFilter(this);
  }
  L_Page_Lang = new QLabel(TS_Language);
  L_Page_Lang->setObjectName("L_Page_Lang");
  L_Page_Lang->setAlignment(Qt::AlignCenter);
  L_Page_Lang->setGeometry(140, 182, 200, 26);
  Btn_Prev = new QPushButton(TS_Language);
  Btn_Prev->setObjectName("Btn_Prev");
  Btn_Prev->setGeometry(16, 180, 100, 28);
  Btn_Next = new QPushButton(TS_Language);
  Btn_Next->setObjectName("Btn_Next");
  Btn_Next->setGeometry(374, 180, 100, 28);

  // Connection page.
  TS_Con_Options = new QWidget;
  TS_Con_Options->setObjectName("TS_Con_Options");
  CB_En_Con = new QCheckBox(TS_Con_Options);
  CB_En_Con->setObjectName("CB_En_Con");
  CB_En_Con->setGeometry(16, 16, 440, 22);
  CB_Update = new QCheckBox(TS_Con_Options);
  CB_Update->setObjectName("CB_Update");
  CB_Update->setGeometry(40, 44, 420, 22);
  Btn_Check_Update = new QPushButton(TS_Con_Options);
  Btn_Check_Update->setObjectName("Btn_Check_Update");
  Btn_Check_Update->setGeometry(16, 84, 220, 32);
  LL_Check_Update = new ui::LinkLabel(TS_Con_Options);
  LL_Check_Update->setObjectName("LL_Check_Update");
  LL_Check_Update->setGeometry(16, 124, 440, 22);
  LL_Check_Update->hide();

  PC_Options->addTab(TS_Language, QString());
  PC_Options->addTab(TS_Con_Options, QString());

  const ui::OkCancelPanel buttons = ui::make_ok_cancel_panel(this);
  QWidget* P_Button = buttons.panel;
  Btn_OK = buttons.ok;
  Btn_Cancel = buttons.cancel;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(P_Title);
  auto* middle = new QVBoxLayout;
  middle->setContentsMargins(8, 8, 8, 0);
  middle->addWidget(PC_Options, 1);
  layout->addLayout(middle, 1);
  layout->addWidget(P_Button);

  connect(Btn_Prev, &QPushButton::clicked, this, &TFSoftOptions::Btn_NextClick);
  connect(Btn_Next, &QPushButton::clicked, this, &TFSoftOptions::Btn_NextClick);
  connect(CB_En_Con, &QCheckBox::toggled, this, &TFSoftOptions::CB_En_ConClick);
  connect(CB_Update, &QCheckBox::toggled, this, &TFSoftOptions::CB_En_ConClick);
  connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
  connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  ui::fix_size_centered(this, 509, 373);
  language_in_use_ = state_.settings.language;
  Set_Lang();
}

QString TFSoftOptions::text(int index) const { return ui::qs(state_.catalogue.get(index)); }

void TFSoftOptions::Set_Lang() {
  setWindowTitle(text(189));
  P_Title->set_description(text(190));
  PC_Options->setTabText(PC_Options->indexOf(TS_Language), text(191));
  PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), text(192));
  L_Sel_Lang->setText(ui::qs(selected_language_line(state_.catalogue, language_in_use_)));
  // Before the first page is drawn the line reads page 1 of 1; afterwards it keeps the page shown.
  L_Page_Lang->setText(page_drawn_ ? ui::qs(language_page_line(state_.catalogue, show_page_,
                                                               language_page_count(sl_languages_.size())))
                                   : ui::qs(language_page_line(state_.catalogue, 1, 1)));
  Btn_Prev->setText(text(196));
  Btn_Next->setText(text(197));
  CB_En_Con->setText(text(198));
  CB_Update->setText(text(199));
  Btn_Check_Update->setText(text(200));
  Btn_OK->setText(text(201));
  Btn_Cancel->setText(text(202));
}

void TFSoftOptions::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  language_in_use_ = state_.settings.language;
  Create_Lang_List();
  Update_CheckBox();
  LL_Check_Update->hide();
  PC_Options->setCurrentWidget(TS_Language);
  CB_En_Con->setChecked(state_.settings.enable_internet);
  CB_Update->setChecked(state_.settings.enable_update);
  Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List() {
  sl_languages_ = list_language_files(state_.folders.language());
  show_page_ = 1;
  Update_Lang_Page(show_page_);
}

void TFSoftOptions::Update_Lang_Page(int page) {
  const Catalogue& cat = state_.catalogue;
  const LanguagePage drawn = language_page(sl_languages_.size(), page);
  page_drawn_ = true;
  L_Sel_Lang->setText(ui::qs(selected_language_line(cat, language_in_use_)));
  L_Page_Lang->setText(ui::qs(language_page_line(cat, drawn.page, drawn.page_count)));
  Btn_Prev->setVisible(drawn.prev_visible);
  Btn_Next->setVisible(drawn.next_visible);
  for (std::size_t k = 0; k < drawn.slot_entries.size(); ++k) {
    const auto& entry = drawn.slot_entries[k];
    if (!entry) {
      I_L[k]->hide();
      L_L[k]->hide();
      continue;
    }
    const std::string language = language_of_file(sl_languages_[*entry]);
    L_L[k]->setText(ui::qs(language));
    L_L[k]->show();
    QPixmap flag;
    if (const auto picture = flag_picture(state_.folders.language(), language)) {
      flag.load(QString::fromStdString(picture->string()));
    }
    // A picture that cannot be decoded is left out like a missing one.
    if (flag.isNull()) {
      I_L[k]->clear();
      I_L[k]->hide();
    } else {
      I_L[k]->setPixmap(flag.scaled(kFlagSize, kFlagSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
      I_L[k]->show();
    }
  }
}

void TFSoftOptions::Btn_NextClick() {
  if (sender() == Btn_Next) {
    show_page_ = next_language_page(show_page_, sl_languages_.size());
  } else if (sender() == Btn_Prev) {
    show_page_ = previous_language_page(show_page_);
  }
  Update_Lang_Page(show_page_);
}

bool TFSoftOptions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int k = 0; k < kLanguagesPerPage; ++k) {
      if (watched == I_L[k] || watched == L_L[k]) {
        LangClick(k + 1);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFSoftOptions::LangClick(int slot) {
  const long entry = static_cast<long>(kLanguagesPerPage) * (show_page_ - 1) + slot - 1;
  if (slot < 1 || slot > kLanguagesPerPage || entry < 0 || entry >= static_cast<long>(sl_languages_.size())) return;
  const std::string chosen = language_of_file(sl_languages_[static_cast<std::size_t>(entry)]);
  if (!ui::question_box(this, ui::qs(language_question(state_.catalogue, language_in_use_, chosen)))) return;

  // Load the chosen language while keeping the saved name: only OK makes it the saved one.
  const std::string saved = state_.settings.language;
  state_.settings.language = chosen;
  state_.load_language();
  // A file that vanished since the list was read falls back to English; show what was loaded.
  language_in_use_ = state_.settings.language;
  state_.settings.language = saved;

  if (change_language_) {
    change_language_();
  } else {
    Set_Lang();
  }
  L_Sel_Lang->setText(ui::qs(selected_language_line(state_.catalogue, language_in_use_)));
}

void TFSoftOptions::CB_En_ConClick() { Update_CheckBox(); }

void TFSoftOptions::Update_CheckBox() {
  const InternetChecks checks = internet_checks(CB_En_Con->isChecked(), CB_Update->isChecked());
  CB_Update->setEnabled(checks.update_enabled);
  Btn_Check_Update->setEnabled(checks.check_button_enabled);
}

void TFSoftOptions::Btn_Check_UpdateClick() {
  const bool newer = version_check_ && version_check_();
  if (newer) {
    LL_Check_Update->set_link(text(203), ui::qs(maker_download_page()));
  } else {
    LL_Check_Update->set_plain(text(204));
  }
  LL_Check_Update->show();
}

void TFSoftOptions::Btn_OKClick() {
  state_.settings.language = language_in_use_;
  state_.settings.enable_internet = CB_En_Con->isChecked();
  state_.settings.enable_update = CB_Update->isChecked();
  // The caller saves the settings and switches the update check timer on this result.
  accept();
}

}  // namespace brenvale
