#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "canopen/sdo_client_window.h"
#include "project/atomic_file.h"
#include "support/box_recorder.h"
#include "support/temp_dir.h"

using brenvale::ActiveConfiguration;
using brenvale::AppFolders;
using brenvale::Catalogue;
using brenvale::TFDefine_Client_SDO;
using brenvale::testing::BoxRecorder;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

constexpr const char* kDefaultFile =
    "<J1939_Frames_SDOClient>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0001\" SA=\"0x01\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0002\" SA=\"0x02\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0003\" SA=\"0x03\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0004\" SA=\"0x04\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0005\" SA=\"0x05\" Mnemonic=\"\"/>"
    "</J1939_Frames_SDOClient><!--SW_VERSION = 2.001-->";

const char* const kRowSuffixes[] = {"Req_Read", "Res_Read", "Req_Write1", "Req_Write2", "Res_Write"};

}  // namespace

class SdoClientWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    catalogue_.reset_to_defaults();
    dir_ = std::make_unique<TempDir>();
    active_ = std::make_unique<ActiveConfiguration>(AppFolders{dir_->path()});
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "plant");
    active_->activate("plant");
    window_ = std::make_unique<TFDefine_Client_SDO>(catalogue_, *active_);
  }
  void cleanup() {
    brenvale::set_write_fault_after(std::nullopt);
    window_.reset();
    active_.reset();
    dir_.reset();
  }

  void captionsAndSize() {
    QCOMPARE(window_->size(), QSize(784, 278));
    QCOMPARE(window_->windowTitle(), QString("Define SDO Client"));
    QCOMPARE(label("L_SW_Code"), QString("Talvik"));
    QCOMPARE(label("L_SW_Desc"), QString("Define J1939 Frames to use the Client SDO Requests"));
    QCOMPARE(label("L_Title_Row_Res_Write"), QString("Answer frame J1939 for awrite SDO"));
    QCOMPARE(label("L_Title_Col_SA"), QString("Source Addr."));
    // Only the two answers have a priority list.
    QVERIFY(window_->findChild<QComboBox*>("CB_Pri_Res_Read"));
    QVERIFY(window_->findChild<QComboBox*>("CB_Pri_Res_Write"));
    QVERIFY(!window_->findChild<QComboBox*>("CB_Pri_Req_Read"));
    QCOMPARE(list("CB_Pri_Res_Read")->count(), 8);
    QCOMPARE(list("CB_DP_Req_Write2")->count(), 2);

    catalogue_.set(379, "SDO-Client");
    catalogue_.set(391, "Ja");
    window_->Set_Lang();
    QCOMPARE(window_->windowTitle(), QString("SDO-Client"));
    QCOMPARE(window_->findChild<QPushButton*>("Btn_OK")->text(), QString("Ja"));
  }

  void firstOpeningShowsAndOkWritesTheDefaults() {
    QVERIFY(window_->FormShow());
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(edit("E_PGN_", i)->text(), QString("0x000%1").arg(i + 1));
      QCOMPARE(edit("E_SA_", i)->text(), QString("0x0%1").arg(i + 1));
      QCOMPARE(list(("CB_DP_" + std::string(kRowSuffixes[i])).c_str())->currentIndex(), 0);
    }
    BoxRecorder boxes;
    click("Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(window_->result(), int(QDialog::Accepted));
    QCOMPARE(read_text(file()), std::string(kDefaultFile));
  }

  void sourceAddressRangeIsChecked() {
    QVERIFY(window_->FormShow());
    BoxRecorder boxes;
    edit("E_SA_", 2)->setText("254");
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kError);
    QCOMPARE(boxes.last(), QString("Error in Request SDO Write (1/2)!! Source Address must be between 0 and 253"));
    QVERIFY(!std::filesystem::exists(file()));
    QVERIFY(window_->result() != QDialog::Accepted);

    edit("E_SA_", 2)->setText("0xFD");
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(window_->result(), int(QDialog::Accepted));
    QVERIFY(read_text(file()).find("PGN=\"0x0003\" SA=\"0xFD\"") != std::string::npos);
  }

  void chosenPriorityIsStoredAndShownAgain() {
    QVERIFY(window_->FormShow());
    list("CB_Pri_Res_Write")->setCurrentIndex(6);
    list("CB_DP_Res_Read")->setCurrentIndex(1);
    edit("E_Mnemonic_", 4)->setText("answer <w>");
    click("Btn_OK");
    QVERIFY(read_text(file()).find("<row Priority=\"6\" DataPage=\"0\" PGN=\"0x0005\" SA=\"0x05\" "
                                   "Mnemonic=\"answer &lt;w>\"/>") != std::string::npos);

    TFDefine_Client_SDO again(catalogue_, *active_);
    QVERIFY(again.FormShow());
    QCOMPARE(again.findChild<QComboBox*>("CB_Pri_Res_Write")->currentIndex(), 6);
    QCOMPARE(again.findChild<QComboBox*>("CB_DP_Res_Read")->currentIndex(), 1);
    QCOMPARE(again.findChild<QLineEdit*>("E_Mnemonic_Res_Write")->text(), QString("answer <w>"));
  }

  void numberOutsideItsListShowsNoChoiceAndSavesMinusOne() {
    write_text(file(),
               "<J1939_Frames_SDOClient>"
               "<row Priority=\"0\" DataPage=\"3\" PGN=\"1\" SA=\"1\" Mnemonic=\"\"/>"
               "<row DataPage=\"1\" PGN=\"7\" SA=\"7\"/>"  // no Priority: frame 2 takes its defaults
               "<row Priority=\"0\" DataPage=\"0\" PGN=\"3\" SA=\"3\"/>"
               "<row Priority=\"0\" DataPage=\"1\" PGN=\"4\" SA=\"4\"/>"
               "<row Priority=\"9\" DataPage=\"0\" PGN=\"5\" SA=\"5\"/>"
               "</J1939_Frames_SDOClient>");
    QVERIFY(window_->FormShow());
    QCOMPARE(list("CB_DP_Req_Read")->currentIndex(), -1);
    QCOMPARE(list("CB_Pri_Res_Write")->currentIndex(), -1);
    QCOMPARE(edit("E_PGN_", 1)->text(), QString("0x0002"));
    QCOMPARE(edit("E_SA_", 1)->text(), QString("0x02"));
    QCOMPARE(list("CB_DP_Res_Read")->currentIndex(), 0);
    QCOMPARE(list("CB_DP_Req_Write2")->currentIndex(), 1);
    click("Btn_OK");
    const std::string saved = read_text(file());
    QVERIFY(saved.find("<row Priority=\"0\" DataPage=\"-1\" PGN=\"1\"") != std::string::npos);
    QVERIFY(saved.find("<row Priority=\"-1\" DataPage=\"0\" PGN=\"5\"") != std::string::npos);
  }

  void malformedFileKeepsTheWindowClosed() {
    write_text(file(), "<J1939_Frames_SDOClient>\n<row PGN=\"1\"\n");
    BoxRecorder boxes;
    QCOMPARE(window_->Execute(), int(QDialog::Rejected));
    QVERIFY(!window_->isVisible());
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY(boxes.last().contains("SDOClient.xml"));
    QVERIFY(boxes.last().contains("line "));
  }

  void failedWriteKeepsTheOldFileAndTheWindow() {
    write_text(file(), kDefaultFile);
    QVERIFY(window_->FormShow());
    edit("E_PGN_", 0)->setText("0x1234");
    BoxRecorder boxes;
    brenvale::set_write_fault_after(10);
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY(boxes.last().contains("SDOClient.xml"));
    QVERIFY(window_->result() != QDialog::Accepted);
    QCOMPARE(read_text(file()), std::string(kDefaultFile));
  }

  void cancelWritesNothing() {
    QVERIFY(window_->FormShow());
    click("Btn_Cancel");
    QCOMPARE(window_->result(), int(QDialog::Rejected));
    QVERIFY(!std::filesystem::exists(file()));
  }

 private:
  std::filesystem::path file() const { return active_->files().sdo_client(); }
  QString label(const char* name) const { return window_->findChild<QLabel*>(name)->text(); }
  QComboBox* list(const char* name) const { return window_->findChild<QComboBox*>(name); }
  QLineEdit* edit(const char* prefix, int frame) const {
    return window_->findChild<QLineEdit*>(QString(prefix) + kRowSuffixes[frame]);
  }
  void click(const char* name) { QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton); }

  Catalogue catalogue_;
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<ActiveConfiguration> active_;
  std::unique_ptr<TFDefine_Client_SDO> window_;
};

QTEST_MAIN(SdoClientWindowTest)
#include "sdo_client_window_test.moc"
