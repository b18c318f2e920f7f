#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <sys/stat.h>
#include <thread>

#include "app/app_state.h"
#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "support/box_recorder.h"
#include "support/srecord.h"
#include "support/stand_in_programs.h"
#include "support/temp_dir.h"
#include "update/boot_window.h"
#include "update/firmware_window.h"
#include "update/update_step.h"

using namespace brenvale;
using brenvale::testing::BoxRecorder;
using brenvale::testing::make_script;
using brenvale::testing::wait_for;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

class FakeClock : public PingClock {
 public:
  std::int64_t now_ms() override { return now; }
  void pause_ms(int ms) override { now += ms; }
  std::int64_t now = 0;
};

// Answers the echoes by script: 'r' a reply, anything else silence.
class ScriptedPinger : public Pinger {
 public:
  explicit ScriptedPinger(std::string script) : script_(std::move(script)) {}
  Status set_host(const std::string& address) override {
    if (address.find_first_not_of("0123456789.") != std::string::npos) return Error{"not an address"};
    return ok_status();
  }
  Status send_echo() override {
    current_ = sends_ < script_.size() ? script_[sends_] : '-';
    ++sends_;
    return ok_status();
  }
  Result<EchoState> poll_reply() override { return current_ == 'r' ? EchoState::kReply : EchoState::kWaiting; }

 private:
  std::string script_;
  std::size_t sends_ = 0;
  char current_ = '-';
};


template <typename T>
T* child(QWidget* window, const char* name) {
  T* found = window->findChild<T*>(name);
  if (!found) qFatal("no control %s", name);
  return found;
}

void click(QWidget* window, const char* name) { QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton); }

std::array<QString, 4> ip_texts(QWidget* window) {
  return {child<QLineEdit>(window, "E_IP1")->text(), child<QLineEdit>(window, "E_IP2")->text(),
          child<QLineEdit>(window, "E_IP3")->text(), child<QLineEdit>(window, "E_IP4")->text()};
}

}  // namespace

class UpdateWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    state_ = std::make_unique<AppState>(AppFolders{dir_->path()});
    std::filesystem::create_directories(dir_->path() / "MASTER");
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "Line4" / "bin");
    state_->active.activate("Line4");
  }
  void cleanup() {
    state_.reset();
    dir_.reset();
  }

  void bootShowsCaptionsAndTheMainWindowsChoices() {
    TFBoot boot(*state_, nullptr);
    state_->settings.ip_address = " 10 . 1 . 2 . 3 ";
    state_->update_option_index = 2;
    state_->read_back = false;
    boot.show();
    QCOMPARE(boot.windowTitle(), QString("Update Device by Ethernet (UDP)"));
    QCOMPARE(child<QLabel>(&boot, "L_SW_Code")->text(), QString("Talvik"));
    QCOMPARE(child<QLabel>(&boot, "L_SW_Desc")->text(), QString("Update Device Using the Ethernet Port"));
    QCOMPARE(child<QLabel>(&boot, "L_IP_Address")->text(), QString("Insert the IP Address of Device"));
    QCOMPARE(child<QLineEdit>(&boot, "E_IP3")->toolTip(), QString("Insert third byte of IP Address"));
    QCOMPARE(child<QPushButton>(&boot, "Btn_Update")->text(), QString("Execute Update Firmware"));
    QCOMPARE(child<QPushButton>(&boot, "Btn_Cancel")->toolTip(), QString("Exit without to do the Update"));
    QCOMPARE(child<QCheckBox>(&boot, "CB_Update_Option_Read_Back")->text(), QString("Read Back"));
    QVERIFY(!child<QWidget>(&boot, "P_Serial")->isVisible());
    QVERIFY(!child<QWidget>(&boot, "P_Eth_Search")->isVisible());
    QCOMPARE(boot.size(), QSize(449, 230));
    auto* options = child<QComboBox>(&boot, "CB_Update_Options");
    QCOMPARE(options->count(), 3);
    QCOMPARE(options->itemText(1), QString("Firmware"));
    QCOMPARE(options->currentIndex(), 2);
    QVERIFY(!child<QCheckBox>(&boot, "CB_Update_Option_Read_Back")->isChecked());
    QCOMPARE(ip_texts(&boot), (std::array<QString, 4>{"10", "1", "2", "3"}));
    boot.hide();

    // A last address that is no valid dotted address leaves the edits as they were.
    state_->settings.ip_address = "192.168.2";
    state_->update_option_index = 0;
    state_->read_back = true;
    boot.show();
    QCOMPARE(ip_texts(&boot), (std::array<QString, 4>{"10", "1", "2", "3"}));
    QCOMPARE(options->currentIndex(), 0);
    QVERIFY(child<QCheckBox>(&boot, "CB_Update_Option_Read_Back")->isChecked());
  }

  void bootDotKeyMovesToTheNextPart() {
    TFBoot boot(*state_, nullptr);
    boot.show();
    QVERIFY(QTest::qWaitForWindowActive(&boot));
    auto* e2 = child<QLineEdit>(&boot, "E_IP2");
    auto* e4 = child<QLineEdit>(&boot, "E_IP4");
    e2->setFocus();
    e2->clear();
    QTest::keyClicks(e2, "16.");
    QCOMPARE(e2->text(), QString("16"));
    QVERIFY(child<QLineEdit>(&boot, "E_IP3")->hasFocus());
    e4->setFocus();
    e4->setText("");
    QTest::keyClicks(e4, "5.");
    QCOMPARE(e4->text(), QString("5"));
    QVERIFY(e4->hasFocus());
  }

  void bootUpdatePingsWritesTheFileAndRunsTheUpdater() {
    // The stand-in updater proves that the parameter file was written before it started.
    make_script(dir_->path() / "Ethernet_Update.exe", "cp \"$(dirname \"$0\")/Ethernet_Update.xml\" \"$0.seen\"");
    FakeClock clock;
    TFBoot boot(*state_, nullptr);
    boot.set_ping_clock(&clock);
    boot.set_pinger_factory([] { return std::make_unique<ScriptedPinger>("rrr"); });
    state_->settings.ip_address = "127.0.0.1";
    state_->update_option_index = 1;
    state_->read_back = false;
    boot.show();
    BoxRecorder boxes;
    click(&boot, "Btn_Update");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(boot.ping_res, 1);
    const std::string seen = read_text(dir_->path() / "Ethernet_Update.exe.seen");
    QCOMPARE(seen, read_text(dir_->path() / "Ethernet_Update.xml"));
    Result<XmlDocument> doc = parse_xml_text(seen, "Ethernet_Update.xml");
    QVERIFY(doc.ok());
    QCOMPARE(*child_text(doc->root(), "IP_Address_Dev"), std::string("127.0.0.1"));
    pugi::xml_node op = doc->root().child("Operations").child("Operation");
    QCOMPARE(*child_text(op, "Ope_FileName"), (dir_->path() / "MASTER" / "SimTalvikK.sim").string());
    QCOMPARE(*child_text(op, "Ope_Read_Back"), std::string("0"));
    QCOMPARE(*child_text(op, "Ope_GoToApp_After"), std::string("1"));
    QVERIFY(!op.next_sibling("Operation"));
    QVERIFY(boot.isVisible());
  }

  void bootUpdateAgainstTheLoopback() {
    make_script(dir_->path() / "Ethernet_Update.exe", "touch \"$0.ran\"");
    TFBoot boot(*state_, nullptr);
    state_->settings.ip_address = "127.0.0.1";
    boot.show();
    BoxRecorder boxes;
    click(&boot, "Btn_Update");
    if (boot.ping_res == 0 && !boxes.boxes.empty()) QSKIP("no ICMP socket in this sandbox");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    QVERIFY(std::filesystem::exists(dir_->path() / "Ethernet_Update.exe.ran"));
    const std::string xml = read_text(dir_->path() / "Ethernet_Update.xml");
    QVERIFY(xml.find((dir_->path() / "PROJECTS" / "Line4" / "bin" / "bank.bin").string()) != std::string::npos);
  }

  void bootRefusals() {
    make_script(dir_->path() / "Ethernet_Update.exe", "touch \"$0.ran\"");
    struct Case {
      const char* script;
      const char* ip4;
      bool write_fault;
      brenvale::ui::BoxKind kind;
      QString message;
    };
    const Case cases[] = {
        {"r---", "1", false, brenvale::ui::BoxKind::kWarning, "Device Not Found!"},
        {"rrrr", "x", false, brenvale::ui::BoxKind::kError, "Error!!! Check the Ip Address"},
        {"rrrr", "1", true, brenvale::ui::BoxKind::kError, ""},
    };
    for (const Case& c : cases) {
      FakeClock clock;
      TFBoot boot(*state_, nullptr);
      boot.set_ping_clock(&clock);
      const std::string script = c.script;
      boot.set_pinger_factory([script] { return std::make_unique<ScriptedPinger>(script); });
      state_->settings.ip_address = "127.0.0.1";
      boot.show();
      child<QLineEdit>(&boot, "E_IP4")->setText(c.ip4);
      BoxRecorder boxes;
      if (c.write_fault) set_write_fault_after(10);
      click(&boot, "Btn_Update");
      set_write_fault_after(std::nullopt);
      QCOMPARE(boxes.boxes.size(), std::size_t{1});
      QCOMPARE(boxes.boxes[0].first, c.kind);
      if (c.message.isEmpty()) {
        QVERIFY2(boxes.last().contains("Ethernet_Update.xml"), qPrintable(boxes.last()));
      } else {
        QCOMPARE(boxes.last(), c.message);
      }
      QVERIFY(!std::filesystem::exists(dir_->path() / "Ethernet_Update.xml"));
      QVERIFY(!std::filesystem::exists(dir_->path() / "Ethernet_Update.exe.ran"));
    }
  }

  void bootClosedWhilePingingStartsNothing() {
    make_script(dir_->path() / "Ethernet_Update.exe", "touch \"$0.ran\"");
    // The clock of this ping closes the window during the first pause, as a click on Cancel would.
    class ClosingClock : public FakeClock {
     public:
      explicit ClosingClock(QDialog* d) : dialog(d) {}
      void pause_ms(int ms) override {
        FakeClock::pause_ms(ms);
        dialog->reject();
      }
      QDialog* dialog;
    };
    TFBoot boot(*state_, nullptr);
    ClosingClock clock(&boot);
    boot.set_ping_clock(&clock);
    boot.set_pinger_factory([] { return std::make_unique<ScriptedPinger>("-rr"); });
    boot.show();
    BoxRecorder boxes;
    click(&boot, "Btn_Update");
    QVERIFY(boxes.boxes.empty());
    QVERIFY(!std::filesystem::exists(dir_->path() / "Ethernet_Update.xml"));
    QVERIFY(!std::filesystem::exists(dir_->path() / "Ethernet_Update.exe.ran"));
  }

  void firmwareWindowWithoutMaster() {
    TFModifyFileSx window(*state_, nullptr);
    BoxRecorder boxes;
    window.show();
    QCOMPARE(boxes.boxes.size(), std::size_t{1});
    QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kError);
    QCOMPARE(boxes.last(), QString("Error file SXTalvik.sx not found"));
    QVERIFY(!child<QPushButton>(&window, "LbButton2")->isEnabled());
  }

  void firmwareWindowMergesAndStartsTheFlashingProgram() {
    write_master(testing::s2_records(0x388000, 0x38C000, 32, 1) + testing::s2_records(0x398000, 0x39C000, 32, 2) +
                 testing::srec('9', 0) + "\r\n");
    write_banks();
    make_script(dir_->path() / "FlashWrite.exe", "printf '[%s]' \"$@\" > \"$0.tmp\"; mv \"$0.tmp\" \"$0.args\"");
    TFModifyFileSx window(*state_, nullptr);
    BoxRecorder boxes;
    window.show();
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(window.windowTitle(), QString("Generate Firmware"));
    QCOMPARE(window.size(), QSize(430, 224));
    auto* port = child<QComboBox>(&window, "cbport");
    QCOMPARE(port->count(), 8);
    QCOMPARE(port->currentText(), QString("COM1"));
    QCOMPARE(child<QProgressBar>(&window, "Avanzamento")->value(), 0);
    QVERIFY(child<QPushButton>(&window, "LbButton2")->isEnabled());
    port->setCurrentIndex(2);
    click(&window, "LbButton2");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    const std::filesystem::path output = dir_->path() / "PROJECTS" / "Line4" / "New_SXTalvik.sx";
    QVERIFY(std::filesystem::exists(output));
    QCOMPARE(wait_for(dir_->path() / "FlashWrite.exe.args"), "[" + output.string() + "][2]");
    QCOMPARE(child<QProgressBar>(&window, "Avanzamento")->value(), child<QProgressBar>(&window, "Avanzamento")->maximum());
    click(&window, "LbButton1");
    QVERIFY(!window.isVisible());
  }

  void firmwareWindowNeverFlashesAFailedMerge() {
    make_script(dir_->path() / "FlashWrite.exe", "touch \"$0.ran\"");
    struct Case {
      const char* name;
      std::string master;
      bool banks;
      bool flash_writer;
      QString message;
    };
    const std::string both = testing::s2_records(0x388000, 0x38C000, 32, 1) +
                             testing::s2_records(0x398000, 0x39C000, 32, 2) + testing::srec('9', 0) + "\r\n";
    const QString master = QString::fromStdString((dir_->path() / "MASTER" / "SXTalvik.sx").string());
    const Case cases[] = {
        {"bank 2 not in master", testing::s2_records(0x388000, 0x38C000, 32, 1) + testing::srec('9', 0) + "\r\n", true,
         true, "Bank 2 (0x398000-0x39BFFF) Not Found in " + master + ",Abort Procedure\nThe firmware file was not written."},
        {"no bin folder", both, false, true, "Directory Bin Not Found,Abort Procedure"},
        {"no S9", testing::s2_records(0x388000, 0x38C000, 32, 1), true, true,
         "File New Sx Not Create,Abort Procedure\n" + master + ": no S9 end record"},
        {"no flashing program", both, true, false, "FlashWrite.exe Not Found, Procedure Aborted"},
    };
    for (const Case& c : cases) {
      write_master(c.master);
      std::filesystem::remove_all(dir_->path() / "PROJECTS" / "Line4" / "bin");
      if (c.banks) write_banks();
      if (!c.flash_writer) std::filesystem::rename(dir_->path() / "FlashWrite.exe", dir_->path() / "Other.exe");
      // An output of an earlier merge must not be flashed in place of the new one.
      write_text(dir_->path() / "PROJECTS" / "Line4" / "New_SXTalvik.sx", "old firmware\r\n");
      TFModifyFileSx window(*state_, nullptr);
      BoxRecorder boxes;
      window.show();
      click(&window, "LbButton2");
      QCOMPARE(boxes.boxes.size(), std::size_t{1});
      QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kMessage);
      QCOMPARE(boxes.last(), c.message);
      if (c.flash_writer) {
        QVERIFY(!std::filesystem::exists(dir_->path() / "PROJECTS" / "Line4" / "New_SXTalvik.sx"));
        QVERIFY(!child<QPushButton>(&window, "LbButton2")->isHidden());
      } else {
        std::filesystem::rename(dir_->path() / "Other.exe", dir_->path() / "FlashWrite.exe");
      }
      if (std::string(c.name) == "bank 2 not in master") {
        QCOMPARE(child<QCheckBox>(&window, "Cbbank2")->palette().color(QPalette::Window), QColor(Qt::red));
        QVERIFY(child<QCheckBox>(&window, "Cbbank1")->palette().color(QPalette::Window) != QColor(Qt::red));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    QVERIFY(!std::filesystem::exists(dir_->path() / "FlashWrite.exe.ran"));
  }

  void updateStepChoosesTheWindowByThePort() {
    TFBoot boot(*state_, nullptr);
    TFModifyFileSx firmware(*state_, nullptr);
    BoxRecorder boxes;
    struct Case {
      const char* par_gen;  // nullptr: no ParGen.xml
      bool ethernet;
    };
    const Case cases[] = {
        {"<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device></Par_Gen>", true},
        {"<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device></Par_Gen>", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
      const auto par_gen = dir_->path() / "PROJECTS" / "Line4" / "ParGen.xml";
      std::filesystem::remove(par_gen);
      if (c.par_gen) write_text(par_gen, c.par_gen);
      QDialog* shown = nullptr;
      for (QDialog* d : {static_cast<QDialog*>(&boot), static_cast<QDialog*>(&firmware)}) {
        QTimer::singleShot(0, d, [d, &shown] {
          if (d->isVisible()) {
            shown = d;
            d->reject();
          }
        });
      }
      show_update_window(*state_, boot, firmware);
      QCOMPARE(shown, c.ethernet ? static_cast<QDialog*>(&boot) : static_cast<QDialog*>(&firmware));
    }
  }

 private:
  void write_master(const std::string& text) { write_text(dir_->path() / "MASTER" / "SXTalvik.sx", text); }
  void write_banks() {
    const auto b1 = testing::pattern(16384, 1);
    const auto b2 = testing::pattern(16384, 2);
    write_text(dir_->path() / "PROJECTS" / "Line4" / "bin" / "bank1.bin", std::string(b1.begin(), b1.end()));
    write_text(dir_->path() / "PROJECTS" / "Line4" / "bin" / "bank2.bin", std::string(b2.begin(), b2.end()));
  }

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<AppState> state_;
};

QTEST_MAIN(UpdateWindowsTest)
#include "update_windows_test.moc"
