#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/main_window.h"
#include "app/window_set.h"
#include "options/about_window.h"
#include "project/new_project_dialog.h"
#include "project/open_project_dialog.h"
#include "support/box_recorder.h"
#include "support/temp_dir.h"
#include "support/window_helpers.h"
#include "ui/file_dialog.h"
#include "ui/link_label.h"

using brenvale::AppFolders;
using brenvale::AppState;
using brenvale::WindowSet;
using brenvale::testing::BoxRecorder;
using brenvale::testing::click;
using brenvale::testing::when_dialog_shown;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

QString label_text(QWidget* window, const char* name) { return window->findChild<QLabel*>(name)->text(); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    brenvale::ui::set_url_opener([this](const QString& url) { opened_.push_back(url); });
  }
  void cleanup() {
    brenvale::ui::set_url_opener({});
    dir_.reset();
  }

  void firstStartInAnEmptyFolder() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    TFMainCheck(windows);
    QVERIFY(std::filesystem::is_directory(dir_->path() / "MASTER"));
    QVERIFY(std::filesystem::is_directory(dir_->path() / "PROJECTS"));
    QVERIFY(std::filesystem::is_directory(dir_->path() / "LANGUAGE"));
    QVERIFY(!state.active.is_open());
    QCOMPARE(state.settings.language, std::string("English"));
    QVERIFY(!windows.main->update_timer()->isActive());
    QCOMPARE(label_text(windows.main.get(), "L_Name_Conf"), QString("None Configuration Opened "));
    QCOMPARE(label_text(windows.main.get(), "L_Name_Conf_L2"), QString("Use Step1 to open or create new configuration"));
    QCOMPARE(windows.main->size(), QSize(694, 572));
    QCOMPARE(windows.main->windowTitle(), QString("Corvane - Configurator Talvik - J1939 / CANopen "));
    for (const char* name : {"Btn_Info", "Btn_Opz", "Btn_Close"}) {
      QVERIFY2(!windows.main->findChild<QAbstractButton*>(name)->icon().isNull(), name);
    }
    for (const char* name : {"L_SW_Code", "L_SW_Desc"}) {
      QCOMPARE(windows.main->findChild<QLabel*>(name)->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    }

    BoxRecorder boxes;
    const char* steps[] = {"Btn_Prm_Gen",         "Btn_Receive_J1939",       "Btn_Define_Receive_SDO",
                           "Btn_Define_Receive_TPDO", "Btn_Transmit_J1939",  "Btn_Define_Transmit_SDO",
                           "Btn_Define_Transmit_RPDO", "Btn_Set_SDO_Client", "Btn_Set_NodeGuard",
                           "Btn_CANopen_EDSFile",  "Btn_CreateBin"};
    for (const char* step : steps) click(windows.main.get(), step);
    QCOMPARE(boxes.boxes.size(), std::size(steps));
    for (const auto& [kind, text] : boxes.boxes) {
      QCOMPARE(kind, brenvale::ui::BoxKind::kError);
      QCOMPARE(text, QString("Project not valid"));
    }
  }

  void closeWritesTheSettings() {
    AppState state(AppFolders{dir_->path()});
    {
      WindowSet windows(state);
      windows.main->show();
      windows.main->close();
    }
    QCOMPARE(QString::fromStdString(read_text(dir_->path() / "Brenvale.xml")),
             QString("<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress>192.168.2.205</ipaddress>"
                     "</lastipadd><lastlang><language>English</language></lastlang><lastinternet><enable_internet>0"
                     "</enable_internet><enable_update>0</enable_update></lastinternet></Conf_Settings>"));
  }

  void forgottenConfigurationAndLanguageAreNotStoredAgain() {
    write_text(dir_->path() / "Brenvale.xml",
               "<Conf_Settings><lastproj><projectname>Gone</projectname></lastproj><lastlang><language>Klingon"
               "</language></lastlang><lastinternet><enable_internet>1</enable_internet><enable_update>1"
               "</enable_update></lastinternet></Conf_Settings>");
    AppState state(AppFolders{dir_->path()});
    {
      WindowSet windows(state);
      QVERIFY(!state.active.is_open());
      QVERIFY(windows.main->update_timer()->isActive());
      QCOMPARE(windows.main->update_timer()->interval(), 60000);
      windows.main->close();
    }
    const std::string saved = read_text(dir_->path() / "Brenvale.xml");
    QVERIFY(saved.find("<projectname/>") != std::string::npos);
    QVERIFY(saved.find("<language>English</language>") != std::string::npos);
  }

  void newConfigurationDialog() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    BoxRecorder boxes;
    auto* edit = windows.new_project->findChild<QLineEdit*>("E_New_Proj");

    // Empty name: error 31, the dialog stays open; Enter does the same as OK.
    when_dialog_shown(windows.new_project, [&] {
      QTest::keyClick(edit, Qt::Key_Return);
      QCOMPARE(boxes.last(), QString("Error! Name Project is not valid"));
      QVERIFY(windows.new_project->isVisible());
      QTest::keyClicks(edit, "../escape");
      click(windows.new_project, "Btn_OK");
      QCOMPARE(boxes.last(), QString("Error! Name project is not valid"));
      edit->setText("Truck");
      click(windows.new_project, "Btn_OK");
    });
    click(windows.main.get(), "Btn_New");
    QVERIFY(std::filesystem::is_directory(dir_->path() / "PROJECTS" / "Truck" / "bin"));
    QVERIFY(!std::filesystem::exists(dir_->path() / "escape"));
    QCOMPARE(state.active.name(), std::string("Truck"));
    QCOMPARE(label_text(windows.main.get(), "L_Name_Conf"), QString("Opened Configuration of the Converter : "));
    QCOMPARE(label_text(windows.main.get(), "L_Name_Conf_L2"), QString("Truck"));

    // The same name again: error 30; Cancel changes nothing.
    when_dialog_shown(windows.new_project, [&] {
      QCOMPARE(edit->text(), QString());
      edit->setText("Truck");
      click(windows.new_project, "Btn_OK");
      QCOMPARE(boxes.last(), QString("Error! Name project is not valid because directory already exists"));
      click(windows.new_project, "Btn_Cancel");
    });
    click(windows.main.get(), "Btn_New");
    QCOMPARE(state.active.name(), std::string("Truck"));
  }

  void openConfigurationDialog() {
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "Test");
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "Other");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("test");
    auto* list = windows.open_conf->findChild<QListWidget*>("ListBox1");

    when_dialog_shown(windows.open_conf, [&] {
      QCOMPARE(list->count(), 2);
      QCOMPARE(list->currentItem()->text(), QString("Test"));
      click(windows.open_conf, "Btn_OK");
    });
    click(windows.main.get(), "Btn_Open");
    QCOMPARE(state.active.name(), std::string("Test"));

    when_dialog_shown(windows.open_conf, [&] {
      list->setCurrentRow(list->currentRow() == 0 ? 1 : 0);
      click(windows.open_conf, "Btn_Cancel");
    });
    click(windows.main.get(), "Btn_Open");
    QCOMPARE(state.active.name(), std::string("Test"));
  }

  void openWithNoConfigurationsLeavesNoneOpen() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("Old");
    when_dialog_shown(windows.open_conf, [&] { click(windows.open_conf, "Btn_OK"); });
    click(windows.main.get(), "Btn_Open");
    QVERIFY(!state.active.is_open());
    QCOMPARE(label_text(windows.main.get(), "L_Name_Conf"), QString("None Configuration Opened "));
  }

  void aboutWindowAndWebLinks() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    when_dialog_shown(windows.about, [&] {
      QCOMPARE(label_text(windows.about, "Label10"), QString("2.001"));
      QCOMPARE(label_text(windows.about, "Label9"), QString("Talvik"));
      QCOMPARE(label_text(windows.about, "Label12"), QString("Pelkin"));
      QCOMPARE(windows.about->size(), QSize(406, 148));
      click(windows.about, "LbButton1");
    });
    click(windows.main.get(), "Btn_Info");
    QVERIFY(!windows.about->isVisible());
  }

  void edsFileStep() {
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "Truck");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("Truck");
    BoxRecorder boxes;
    QString offered_folder;
    QString answer;
    brenvale::ui::set_save_dialog_handler([&](const QString& folder, const QString&) {
      offered_folder = folder;
      return answer;
    });
    click(windows.main.get(), "Btn_CANopen_EDSFile");  // cancelled
    QCOMPARE(offered_folder, QString::fromStdString((dir_->path() / "PROJECTS" / "Truck").string()));
    QCOMPARE(brenvale::testing::entry_count(dir_->path() / "PROJECTS" / "Truck"), std::size_t{0});

    answer = QString::fromStdString((dir_->path() / "PROJECTS" / "Truck" / "master").string());
    click(windows.main.get(), "Btn_CANopen_EDSFile");
    brenvale::ui::set_save_dialog_handler({});
    QVERIFY(boxes.boxes.empty());
    const std::string eds = read_text(dir_->path() / "PROJECTS" / "Truck" / "master.eds");
    QVERIFY(eds.find("[FileInfo]\r\n") == 0);
  }

  void everyStepOpensItsWindow() {
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "Truck" / "bin");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("Truck");
    const std::pair<const char*, const char*> steps[] = {
        {"Btn_Prm_Gen", "TFParGen2"},
        {"Btn_Set_SDO_Client", "TFDefine_Client_SDO"},
        {"Btn_Set_NodeGuard", "TFDefine_NodeGuard"},
        {"Btn_Receive_J1939", "TFReceive_J1939"},
        {"Btn_Transmit_J1939", "TFTransmit_J1939"},
        {"Btn_Define_Receive_TPDO", "TFDefine_TPDO"},
        {"Btn_Define_Transmit_RPDO", "TFDefine_RPDO"},
        {"Btn_Define_Receive_SDO", "TFDefine_Server_SDO_Read"},
        {"Btn_Define_Transmit_SDO", "TFDefine_Server_SDO_Write"},
    };
    for (const auto& [button, window] : steps) {
      QString shown;
      std::function<void()> close_modal = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
          QTimer::singleShot(5, close_modal);
          return;
        }
        shown = modal->objectName();
        qobject_cast<QDialog*>(modal)->reject();
      };
      QTimer::singleShot(0, close_modal);
      click(windows.main.get(), button);
      QCOMPARE(shown, QString(window));
    }
    // Cancel everywhere: nothing was written.
    QCOMPARE(brenvale::testing::entry_count(dir_->path() / "PROJECTS" / "Truck"), std::size_t{1});
  }

  void updateDeviceOpensTheWindowOfTheUpdatePath() {
    const auto project = dir_->path() / "PROJECTS" / "Truck";
    std::filesystem::create_directories(project / "bin");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("Truck");
    BoxRecorder boxes;
    auto modal_after_click = [&]() {
      QString shown;
      std::function<void()> close_modal = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
          QTimer::singleShot(5, close_modal);
          return;
        }
        shown = modal->objectName();
        qobject_cast<QDialog*>(modal)->reject();
      };
      QTimer::singleShot(0, close_modal);
      click(windows.main.get(), "Btn_CreateBin");
      return shown;
    };

    // No ParGen.xml: no Ethernet port for the update, so the firmware file window.
    QCOMPARE(modal_after_click(), QString("TFModifyFileSx"));
    QCOMPARE(std::filesystem::file_size(project / "bin" / "bank.bin"), std::uintmax_t{65280});
    write_text(project / "ParGen.xml",
               "<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device><BaudRateCAN>5</BaudRateCAN>"
               "<CANType>1</CANType><IDDev_CANopen>1</IDDev_CANopen><Baud_CANopen>5</Baud_CANopen>"
               "<Set_Ope_CANopen>0</Set_Ope_CANopen><Net_Start_CANopen>0</Net_Start_CANopen>"
               "<Delay_CANopen>0</Delay_CANopen></Par_Gen>");
    QCOMPARE(modal_after_click(), QString("TFBoot"));

    // A PDO row without a frame fails the compile: an error, no update window, no new files.
    write_text(project / "TpdoJ1939.xml", "<PDOJ1939><row COB-ID=\"0x181\" Dimension=\"2\" Offset=\"1\" Mnemonic=\"\"/></PDOJ1939>");
    std::filesystem::remove_all(project / "bin");
    std::filesystem::create_directories(project / "bin");
    boxes.boxes.clear();
    QTimer::singleShot(2000, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) qobject_cast<QDialog*>(modal)->reject();
    });
    click(windows.main.get(), "Btn_CreateBin");
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes.front().first, brenvale::ui::BoxKind::kError);
    QVERIFY(boxes.last().contains("TpdoJ1939.xml"));
    QCOMPARE(brenvale::testing::entry_count(project / "bin"), std::size_t{0});
  }

  void updateTimerShowsAndHidesTheLink() {
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    bool newer = true;
    windows.main->set_version_check([&] { return newer; });
    auto* link = windows.main->findChild<brenvale::ui::LinkLabel*>("LL_Update");
    windows.main->show();
    windows.main->Timer_UpdateTimer();
    QVERIFY(link->isVisible());
    QVERIFY(link->url().endsWith("/Home/download/download.asp#Ormund"));
    QCOMPARE(windows.main->update_timer()->interval(), 7200000);
    newer = false;
    windows.main->Timer_UpdateTimer();
    QVERIFY(!link->isVisible());
  }

 private:
  static void TFMainCheck(WindowSet& windows) { QVERIFY(windows.main != nullptr); }
  std::unique_ptr<TempDir> dir_;
  std::vector<QString> opened_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
