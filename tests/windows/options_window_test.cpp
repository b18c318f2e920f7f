#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "app/main_window.h"
#include "app/window_set.h"
#include "options/options_window.h"
#include "project/new_project_dialog.h"
#include "support/box_recorder.h"
#include "support/local_http_server.h"
#include "support/temp_dir.h"
#include "support/window_helpers.h"
#include "ui/link_label.h"

namespace fs = std::filesystem;
using brenvale::AppFolders;
using brenvale::AppState;
using brenvale::TFSoftOptions;
using brenvale::WindowSet;
using brenvale::testing::BoxRecorder;
using brenvale::testing::child;
using brenvale::testing::click;
using brenvale::testing::when_dialog_shown;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

QString label_text(QWidget* window, const QString& name) { return child<QLabel>(window, name)->text(); }

// The slots of the page shown, as (name, flag shown) pairs in slot order.
std::vector<std::pair<QString, bool>> shown_slots(TFSoftOptions* options) {
  std::vector<std::pair<QString, bool>> shown;
  for (int k = 1; k <= 6; ++k) {
    auto* name = child<QLabel>(options, QString("L_L%1").arg(k));
    auto* flag = child<QLabel>(options, QString("I_L%1").arg(k));
    if (name->isVisible()) shown.emplace_back(name->text(), flag->isVisible() && !flag->pixmap().isNull());
  }
  return shown;
}

const char* kSettingsBothOn =
    "<Conf_Settings><lastlang><language>English</language></lastlang><lastinternet>"
    "<enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet></Conf_Settings>";

}  // namespace

class OptionsWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    opened_.clear();
    brenvale::ui::set_url_opener([this](const QString& url) { opened_.push_back(url); });
  }
  void cleanup() {
    brenvale::ui::set_url_opener({});
    dir_.reset();
  }

  void sevenLanguagesGiveTwoPages() {
    ship_languages();
    write_text(language_dir() / "Suomi.lng", "STR0 = Alku\n");
    write_text(language_dir() / "nederlands.lng", "STR0 = Begin\n");
    write_text(language_dir() / "Locked.lng", "STR0 = x\n");
    fs::permissions(language_dir() / "Locked.lng", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::create_directory(language_dir() / "Folder.lng");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    TFSoftOptions* options = windows.options;
    options->show();

    QCOMPARE(options->SL_Languages().size(), std::size_t(7));
    QCOMPARE(label_text(options, "L_Page_Lang"), QString("Page 1 / 2"));
    QCOMPARE(label_text(options, "L_Sel_Lang"), QString("Selected Language : English"));
    QVERIFY(!child(options, "Btn_Prev")->isVisible());
    QVERIFY(child(options, "Btn_Next")->isVisible());
    // The page line and its buttons fit inside the language tab.
    const QRect tab = child(options, "TS_Language")->rect();
    for (const char* name : {"Btn_Prev", "Btn_Next", "L_Page_Lang", "I_L6", "L_L6"}) {
      QVERIFY2(tab.contains(child(options, name)->geometry()), name);
    }
    // Suomi and nederlands have no flag of their own: the default flag stands in.
    const std::vector<std::pair<QString, bool>> first = {{"Deutsch", true},  {"English", true},  {"Español", true},
                                                          {"Français", true}, {"Italiano", true}, {"nederlands", true}};
    QCOMPARE(shown_slots(options), first);

    click(options, "Btn_Next");
    QCOMPARE(options->Show_Page(), 2);
    QCOMPARE(label_text(options, "L_Page_Lang"), QString("Page 2 / 2"));
    QVERIFY(child(options, "Btn_Prev")->isVisible());
    QVERIFY(!child(options, "Btn_Next")->isVisible());
    QCOMPARE(shown_slots(options), (std::vector<std::pair<QString, bool>>{{"Suomi", true}}));

    click(options, "Btn_Prev");
    QCOMPARE(options->Show_Page(), 1);
    QCOMPARE(shown_slots(options), first);
  }

  void sixLanguagesGiveOnePage() {
    ship_languages();
    write_text(language_dir() / "Suomi.lng", "STR0 = Alku\n");
    fs::remove(language_dir() / "DefaultFlag.bmp");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.options->show();
    QCOMPARE(label_text(windows.options, "L_Page_Lang"), QString("Page 1 / 1"));
    QVERIFY(!child(windows.options, "Btn_Prev")->isVisible());
    QVERIFY(!child(windows.options, "Btn_Next")->isVisible());
    const auto shown = shown_slots(windows.options);
    QCOMPARE(shown.size(), std::size_t(6));
    // Without a default flag a language without its own picture shows none.
    QCOMPARE(shown.back(), std::make_pair(QString("Suomi"), false));
  }

  void noLanguageFilesShowPageOneOfZero() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.options->show();
    QCOMPARE(label_text(windows.options, "L_Page_Lang"), QString("Page 1 / 0"));
    QVERIFY(shown_slots(windows.options).empty());
  }

  void cancelAfterALanguageChangeKeepsTheSavedLanguage() {
    ship_languages();
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    BoxRecorder boxes(true);
    when_dialog_shown(windows.options, [&] {
      QTest::mouseClick(child<QLabel>(windows.options, "L_L1"), Qt::LeftButton);  // Deutsch
      QCOMPARE(boxes.last(), QString("Do you want to change the Language from English to Deutsch?"));
      click(windows.options, "Btn_Cancel");
    });
    click(windows.main.get(), "Btn_Opz");

    // Every window speaks German for the rest of the run...
    QCOMPARE(child<QPushButton>(windows.main.get(), "Btn_New")->text(), QString("Neue Konfiguration"));
    QCOMPARE(windows.new_project->windowTitle(), QString("Neue Konfiguration anlegen"));
    QCOMPARE(windows.options->windowTitle(), QString("Software-Optionen"));
    QCOMPARE(label_text(windows.options, "L_Sel_Lang"), QString("Gewählte Sprache : Deutsch"));
    // ...while the saved language stays English.
    QCOMPARE(state.settings.language, std::string("English"));
    windows.main->close();
    QVERIFY(read_text(dir_->path() / "Brenvale.xml").find("<language>English</language>") != std::string::npos);
  }

  void okStoresTheChosenLanguage() {
    ship_languages();
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    BoxRecorder boxes(true);
    when_dialog_shown(windows.options, [&] {
      QTest::mouseClick(child<QLabel>(windows.options, "I_L5"), Qt::LeftButton);  // Italiano, by its flag
      click(windows.options, "Btn_OK");
    });
    click(windows.main.get(), "Btn_Opz");
    QCOMPARE(state.settings.language, std::string("Italiano"));
    QVERIFY(read_text(dir_->path() / "Brenvale.xml").find("<language>Italiano</language>") != std::string::npos);
    QCOMPARE(child<QPushButton>(windows.main.get(), "Btn_Open")->text(), QString("Apri configurazione"));
  }

  void answeringNoChangesNothing() {
    ship_languages();
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.options->show();
    BoxRecorder boxes(false);
    QTest::mouseClick(child<QLabel>(windows.options, "L_L3"), Qt::LeftButton);  // Español
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(windows.options->Language_In_Use(), std::string("English"));
    QCOMPARE(windows.options->windowTitle(), QString("Software Options"));
    QCOMPARE(state.catalogue.get(28), std::string("Cancel"));
  }

  void untickingTheConnectionDisablesTheUpdateBoxButKeepsItsTick() {
    write_text(dir_->path() / "Brenvale.xml", kSettingsBothOn);
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    QVERIFY(windows.main->update_timer()->isActive());
    when_dialog_shown(windows.options, [&] {
      auto* en_con = child<QCheckBox>(windows.options, "CB_En_Con");
      auto* update = child<QCheckBox>(windows.options, "CB_Update");
      auto* check = child<QPushButton>(windows.options, "Btn_Check_Update");
      QVERIFY(en_con->isChecked() && update->isChecked());
      QVERIFY(update->isEnabled() && check->isEnabled());
      en_con->click();
      QVERIFY(!update->isEnabled());
      QVERIFY(!check->isEnabled());
      QVERIFY(update->isChecked());
      click(windows.options, "Btn_OK");
    });
    click(windows.main.get(), "Btn_Opz");
    const std::string saved = read_text(dir_->path() / "Brenvale.xml");
    QVERIFY(saved.find("<enable_internet>0</enable_internet><enable_update>1</enable_update>") != std::string::npos);
    QVERIFY(!windows.main->update_timer()->isActive());
  }

  void enablingRuleOfTheTwoBoxes() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.options->show();
    auto* en_con = child<QCheckBox>(windows.options, "CB_En_Con");
    auto* update = child<QCheckBox>(windows.options, "CB_Update");
    auto* check = child<QPushButton>(windows.options, "Btn_Check_Update");
    const struct {
      bool internet, update, update_enabled, check_enabled;
    } cases[] = {{false, false, false, false}, {true, false, true, false}, {true, true, true, true}, {false, true, false, false}};
    for (const auto& c : cases) {
      en_con->setChecked(c.internet);
      update->setChecked(c.update);
      QCOMPARE(update->isEnabled(), c.update_enabled);
      QCOMPARE(check->isEnabled(), c.check_enabled);
    }
  }

  void cancelKeepsTheFlags() {
    write_text(dir_->path() / "Brenvale.xml", kSettingsBothOn);
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    when_dialog_shown(windows.options, [&] {
      child<QCheckBox>(windows.options, "CB_Update")->click();
      click(windows.options, "Btn_Cancel");
    });
    click(windows.main.get(), "Btn_Opz");
    QVERIFY(state.settings.enable_internet && state.settings.enable_update);
    QVERIFY(windows.main->update_timer()->isActive());
    // Reopening resets the boxes to the saved flags and hides the last check's result.
    windows.options->show();
    QVERIFY(child<QCheckBox>(windows.options, "CB_Update")->isChecked());
    QVERIFY(!child(windows.options, "LL_Check_Update")->isVisible());
    QCOMPARE(child<QTabWidget>(windows.options, "PC_Options")->currentWidget()->objectName(), QString("TS_Language"));
  }

  void manualCheckShowsItsResult() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    bool newer = true;
    windows.options->set_version_check([&] { return newer; });
    windows.options->show();
    child<QTabWidget>(windows.options, "PC_Options")->setCurrentIndex(1);
    auto* link = child<brenvale::ui::LinkLabel>(windows.options, "LL_Check_Update");
    QVERIFY(!link->isVisible());

    windows.options->Btn_Check_UpdateClick();
    QVERIFY(link->isVisible());
    QVERIFY(link->text().contains("New Version Available. Click Here for more Details"));
    QVERIFY(link->url().endsWith("/Home/download/download.asp#Ormund"));
    emit link->linkActivated(link->url());
    QCOMPARE(opened_.size(), std::size_t(1));
    QCOMPARE(opened_.back(), link->url());

    newer = false;
    windows.options->Btn_Check_UpdateClick();
    QVERIFY(link->isVisible());
    QCOMPARE(link->text(), QString("No Update Available"));
    QVERIFY(link->url().isEmpty());
  }

  void theCheckButtonAsksTheMakersServer() {
    brenvale::testing::LocalHttpServer server(brenvale::testing::ok_reply("VER. 2.002"));
    qputenv("BRENVALE_SERVER", server.url().c_str());
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.options->show();
    child<QTabWidget>(windows.options, "PC_Options")->setCurrentIndex(1);
    child<QCheckBox>(windows.options, "CB_En_Con")->setChecked(true);
    child<QCheckBox>(windows.options, "CB_Update")->setChecked(true);
    click(windows.options, "Btn_Check_Update");
    qunsetenv("BRENVALE_SERVER");
    auto* link = child<brenvale::ui::LinkLabel>(windows.options, "LL_Check_Update");
    QVERIFY(link->isVisible());
    QCOMPARE(link->url(), QString::fromStdString(server.url() + "/Home/download/download.asp#Ormund"));
    QVERIFY(server.last_request().starts_with("GET /home/download/GetversionSW.asp?nomesw=Talvik HTTP/1.0"));
  }

  void optionsSwitchTheUpdateTimerKeepingItsInterval() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    windows.main->set_version_check([] { return false; });
    QTimer* timer = windows.main->update_timer();
    QVERIFY(!timer->isActive());

    set_both_options(windows, true, true);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 60000);

    windows.main->Timer_UpdateTimer();
    QCOMPARE(timer->interval(), 7200000);
    QVERIFY(timer->isActive());

    set_both_options(windows, true, false);
    QVERIFY(!timer->isActive());
    set_both_options(windows, true, true);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 7200000);
  }

  void okWithBothStillOnDoesNotRestartTheCountdown() {
    write_text(dir_->path() / "Brenvale.xml", kSettingsBothOn);
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    QTimer* timer = windows.main->update_timer();
    // A precise timer, so that the remaining time shows whether the countdown started again.
    timer->stop();
    timer->setTimerType(Qt::PreciseTimer);
    timer->start();
    QTest::qWait(100);
    const int before = timer->remainingTime();
    set_both_options(windows, true, true);
    QVERIFY(timer->isActive());
    QVERIFY(timer->remainingTime() <= before);
  }

 private:
  fs::path language_dir() const { return dir_->path() / "LANGUAGE"; }

  // The translations that the configurator ships, with their flags.
  void ship_languages() {
    fs::create_directories(language_dir());
    for (const auto& entry : fs::directory_iterator(BRENVALE_LANGUAGES)) {
      fs::copy_file(entry.path(), language_dir() / entry.path().filename());
    }
  }

  void set_both_options(WindowSet& windows, bool internet, bool update) {
    when_dialog_shown(windows.options, [&] {
      child<QCheckBox>(windows.options, "CB_En_Con")->setChecked(internet);
      child<QCheckBox>(windows.options, "CB_Update")->setChecked(update);
      click(windows.options, "Btn_OK");
    });
    click(windows.main.get(), "Btn_Opz");
  }

  std::unique_ptr<TempDir> dir_;
  std::vector<QString> opened_;
};

QTEST_MAIN(OptionsWindowTest)
#include "options_window_test.moc"
