// Update Device from the main window to the external programs, with stand-ins for the
// Ethernet updater and the flashing program.
#include <chrono>
#include <thread>

#include <sys/stat.h>

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "app/main_window.h"
#include "app/window_set.h"
#include "support/box_recorder.h"
#include "support/srecord.h"
#include "support/stand_in_programs.h"
#include "support/temp_dir.h"
#include "support/window_helpers.h"
#include "update/boot_window.h"
#include "update/firmware_window.h"

using brenvale::AppFolders;
using brenvale::AppState;
using brenvale::WindowSet;
using brenvale::testing::BoxRecorder;
using brenvale::testing::make_script;
using brenvale::testing::wait_for;
using brenvale::testing::click;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::when_dialog_shown;
using brenvale::testing::write_text;

namespace {


void copy_example(const std::filesystem::path& to) {
  std::filesystem::create_directories(to.parent_path());
  std::filesystem::copy(std::filesystem::path(BRENVALE_FIXTURES) / ".." / ".." / "examples" / "Truck_Demo", to,
                        std::filesystem::copy_options::recursive);
  std::filesystem::create_directories(to / "bin");
}

}  // namespace

class UpdateDeviceTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { dir_ = std::make_unique<TempDir>(); }
  void cleanup() { dir_.reset(); }

  void withEthernetPortTheUpdaterRunsAgainstTheLoopback() {
    const auto project = dir_->path() / "PROJECTS" / "Truck";
    copy_example(project);
    make_script(dir_->path() / "Ethernet_Update.exe", "cp \"$(dirname \"$0\")/Ethernet_Update.xml\" \"$0.seen\"");
    write_text(dir_->path() / "Brenvale.xml",
               "<Conf_Settings><lastproj><projectname>Truck</projectname></lastproj><lastipadd><ipaddress>127.0.0.1"
               "</ipaddress></lastipadd></Conf_Settings>");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    QCOMPARE(state.active.name(), std::string("Truck"));
    BoxRecorder boxes;
    bool icmp_refused = false;
    when_dialog_shown(windows.boot, [&] {
      QCOMPARE(windows.boot->findChild<QLineEdit*>("E_IP1")->text(), QString("127"));
      click(windows.boot, "Btn_Update");
      icmp_refused = windows.boot->ping_res == 0 && !boxes.boxes.empty();
      windows.boot->reject();
    });
    click(windows.main.get(), "Btn_CreateBin");
    if (icmp_refused) QSKIP("no ICMP socket in this sandbox");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    QCOMPARE(std::filesystem::file_size(project / "bin" / "bank.bin"), std::uintmax_t{65280});
    const std::string seen = read_text(dir_->path() / "Ethernet_Update.exe.seen");
    QVERIFY(seen.find("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>") != std::string::npos);
    QVERIFY(seen.find((project / "bin" / "bank.bin").string()) != std::string::npos);
  }

  void withoutEthernetPortTheFirmwareIsMergedAndFlashed() {
    const auto project = dir_->path() / "PROJECTS" / "Truck";
    copy_example(project);
    std::string par_gen = read_text(project / "ParGen.xml");
    const std::string with = "Device With Ethernet Port";
    par_gen.replace(par_gen.find(with), with.size(), "Device Without Ethernet Port");
    write_text(project / "ParGen.xml", par_gen);
    write_text(dir_->path() / "MASTER" / "SXTalvik.sx",
               brenvale::testing::s2_records(0x388000, 0x38C000, 32, 1) +
                   brenvale::testing::s2_records(0x398000, 0x39C000, 32, 2) + brenvale::testing::srec('9', 0) + "\r\n");
    make_script(dir_->path() / "FlashWrite.exe", "printf '[%s]' \"$@\" > \"$0.tmp\"; mv \"$0.tmp\" \"$0.args\"");
    AppState state(AppFolders{dir_->path()});
    WindowSet windows(state);
    state.active.activate("Truck");
    BoxRecorder boxes;
    when_dialog_shown(windows.firmware, [&] {
      windows.firmware->findChild<QComboBox*>("cbport")->setCurrentIndex(2);
      click(windows.firmware, "LbButton2");
      click(windows.firmware, "LbButton1");
    });
    click(windows.main.get(), "Btn_CreateBin");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    const auto output = project / "New_SXTalvik.sx";
    QCOMPARE(wait_for(dir_->path() / "FlashWrite.exe.args"), "[" + output.string() + "][2]");
    // The merged firmware carries bank 1 as written by this compile.
    const std::string bank1 = read_text(project / "bin" / "bank1.bin");
    std::string first_record = "S224388000";
    char hex[3];
    for (int i = 0; i < 32; ++i) {
      std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bank1[static_cast<std::size_t>(i)]));
      first_record += hex;
    }
    QVERIFY(read_text(output).find(first_record) != std::string::npos);
  }

 private:
  std::unique_ptr<TempDir> dir_;
};

QTEST_MAIN(UpdateDeviceTest)
#include "update_device_test.moc"
