// The options window: the language of the program, chosen from the language files in LANGUAGE
// six to a page, and the two internet options with a manual version check. A language chosen
// here shows at once in every window; it becomes the saved language only through OK.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "app/app_state.h"
#include "ui/captioned.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

namespace brenvale {

namespace ui {
class LinkLabel;
class TitlePanel;
}  // namespace ui

class TFSoftOptions : public QDialog, public ui::Captioned {
  Q_OBJECT
 public:
  TFSoftOptions(AppState& state, QWidget* parent);

  void Set_Lang() override;

  // The version check behind "Check Available Update"; true when a newer version exists.
  void set_version_check(std::function<bool()> check) { version_check_ = std::move(check); }
  // Re-captions every window after a language change.
  void set_change_language(std::function<void()> recaption) { change_language_ = std::move(recaption); }

  const std::string& Language_In_Use() const { return language_in_use_; }
  int Show_Page() const { return show_page_; }
  const std::vector<std::string>& SL_Languages() const { return sl_languages_; }

 public slots:
  // A click on the flag or the name of slot `slot` (1 to 6) of the page shown.
  void LangClick(int slot);
  void Btn_NextClick();
  void CB_En_ConClick();
  void Btn_Check_UpdateClick();
  void Btn_OKClick();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Create_Lang_List();
  void Update_Lang_Page(int page);
  void Update_CheckBox();
  QString text(int index) const;

  AppState& state_;
  std::function<bool()> version_check_;
  std::function<void()> change_language_;
  std::vector<std::string> sl_languages_;
  int show_page_ = 1;
  bool page_drawn_ = false;
  std::string language_in_use_;

  ui::TitlePanel* P_Title;
  QTabWidget* PC_Options;
  QWidget* TS_Language;
  QWidget* TS_Con_Options;
  QLabel* L_Sel_Lang;
  std::array<QLabel*, 6> I_L{};
  std::array<QLabel*, 6> L_L{};
  QLabel* L_Page_Lang;
  QPushButton* Btn_Prev;
  QPushButton* Btn_Next;
  QCheckBox* CB_En_Con;
  QCheckBox* CB_Update;
  QPushButton* Btn_Check_Update;
  ui::LinkLabel* LL_Check_Update;
  QPushButton* Btn_OK;
  QPushButton* Btn_Cancel;
};

}  // namespace brenvale
