#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "canopen/node_guard_window.h"
#include "project/atomic_file.h"
#include "ui/column_grid.h"
#include "support/box_recorder.h"
#include "support/temp_dir.h"

using brenvale::ActiveConfiguration;
using brenvale::AppFolders;
using brenvale::Catalogue;
using brenvale::TFDefine_NodeGuard;
using brenvale::testing::BoxRecorder;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

constexpr const char* kDefaultFrameFile =
    "<NG_J1939_Frames>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0001\" SA=\"0x01\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0002\" SA=\"0x02\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0003\" SA=\"0x03\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0004\" SA=\"0x04\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0005\" SA=\"0x05\" Mnemonic=\"\"/>"
    "</NG_J1939_Frames><!--SW_VERSION = 2.001-->";

}  // namespace

class NodeGuardWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    catalogue_.reset_to_defaults();
    dir_ = std::make_unique<TempDir>();
    active_ = std::make_unique<ActiveConfiguration>(AppFolders{dir_->path()});
    std::filesystem::create_directories(dir_->path() / "PROJECTS" / "plant");
    active_->activate("plant");
    window_ = std::make_unique<TFDefine_NodeGuard>(catalogue_, *active_);
  }
  void cleanup() {
    brenvale::set_write_fault_after(std::nullopt);
    window_.reset();
    active_.reset();
    dir_.reset();
  }

  void captionsSizeAndGrid() {
    QCOMPARE(window_->size(), QSize(635, 495));
    QCOMPARE(window_->windowTitle(), QString("Define Node Guarding"));
    QCOMPARE(label("L_SW_Desc"), QString("Define Node Guarding"));
    QCOMPARE(label("L_NG_J1939_Title1"), QString("Insert here the ID of CANopen Devices to check with Node Guard"));
    QCOMPARE(label("L_NG_J1939_Title2"), QString("Insert the Frames J1939 with state of Node Guard"));
    QCOMPARE(label("L_NG_J1939_SA"), QString("Source Addr."));
    QCOMPARE(grid()->rowCount(), 32);
    QCOMPARE(grid()->columnCount(), 5);
    const QStringList headers{"N°", "Node ID", "Guard Time", "Life Time Factor", "Mnemonic"};
    for (int c = 0; c < 5; ++c) QCOMPARE(grid()->horizontalHeaderItem(c)->text(), headers[c]);
    QCOMPARE(list("CB_NG_J1939_Pri3")->count(), 8);
    QCOMPARE(list("CB_NG_J1939_DP5")->count(), 8);

    catalogue_.set(407, "Knoten");
    window_->Set_Lang();
    QCOMPARE(grid()->horizontalHeaderItem(1)->text(), QString("Knoten"));
  }

  void firstOpeningShowsAndOkWritesTheDefaults() {
    QVERIFY(window_->FormShow());
    for (int r = 0; r < 32; ++r) {
      QCOMPARE(cell(r, 0), QString::number(r + 1));
      QVERIFY(!(grid()->item(r, 0)->flags() & Qt::ItemIsEditable));
      for (int c = 1; c < 5; ++c) QCOMPARE(cell(r, c), QString());
    }
    QVERIFY(grid()->item(0, 1)->flags() & Qt::ItemIsEditable);
    for (int n = 1; n <= 5; ++n) {
      QCOMPARE(edit("E_NG_J1939_PGN", n)->text(), QString("0x000%1").arg(n));
      QCOMPARE(edit("E_NG_J1939_SA", n)->text(), QString("0x0%1").arg(n));
      QCOMPARE(list(("CB_NG_J1939_Pri" + std::to_string(n)).c_str())->currentIndex(), 0);
      QCOMPARE(list(("CB_NG_J1939_DP" + std::to_string(n)).c_str())->currentIndex(), 0);
    }
    BoxRecorder boxes;
    click("Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(window_->result(), int(QDialog::Accepted));
    QCOMPARE(read_text(nodes()), std::string("<Node_Guarding/><!--SW_VERSION = 2.001-->"));
    QCOMPARE(read_text(frames()), std::string(kDefaultFrameFile));
  }

  void rowsAfterTheFirstEmptyNodeIdAreDropped() {
    QVERIFY(window_->FormShow());
    set_row(0, "5", "200", "3", "pump");
    set_row(1, "6", "100", "2", "");
    set_row(3, "200", "0", "0", "after the gap");
    list("CB_NG_J1939_DP4")->setCurrentIndex(7);
    BoxRecorder boxes;
    click("Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(read_text(nodes()), std::string("<Node_Guarding>"
                                             "<row NodeID=\"5\" GuardTime=\"200\" LifeTimeFactor=\"3\" Mnemonic=\"pump\"/>"
                                             "<row NodeID=\"6\" GuardTime=\"100\" LifeTimeFactor=\"2\" Mnemonic=\"\"/>"
                                             "</Node_Guarding><!--SW_VERSION = 2.001-->"));
    QVERIFY(read_text(frames()).find("<row Priority=\"0\" DataPage=\"7\" PGN=\"0x0004\"") != std::string::npos);

    TFDefine_NodeGuard again(catalogue_, *active_);
    QVERIFY(again.FormShow());
    auto* sga = again.findChild<QTableWidget*>("sga");
    QCOMPARE(sga->item(1, 4)->text(), QString(""));
    QCOMPARE(sga->item(0, 4)->text(), QString("pump"));
    QCOMPARE(sga->item(3, 1)->text(), QString(""));
    QCOMPARE(sga->item(3, 0)->text(), QString("4"));
  }

  void nodesPastedFromASpreadsheetAreSaved() {
    QVERIFY(window_->FormShow());
    auto* sga = window_->findChild<brenvale::ui::ColumnGrid*>("sga");
    sga->set_current_data_cell(0, 0);
    sga->paste_text("7\t250\t3\tDoor module\n8\t500\t2\tSeat\textra column left out\n");
    BoxRecorder boxes;
    click("Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(read_text(nodes()), std::string("<Node_Guarding>"
                                             "<row NodeID=\"7\" GuardTime=\"250\" LifeTimeFactor=\"3\" Mnemonic=\"Door module\"/>"
                                             "<row NodeID=\"8\" GuardTime=\"500\" LifeTimeFactor=\"2\" Mnemonic=\"Seat\"/>"
                                             "</Node_Guarding><!--SW_VERSION = 2.001-->"));
  }

  void textStillBeingTypedIsTakenByOk() {
    QVERIFY(window_->FormShow());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    set_row(0, "", "100", "3", "typed");
    grid()->setCurrentCell(0, 1);
    grid()->editItem(grid()->item(0, 1));
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid());
    QTest::keyClicks(editor, "12");
    BoxRecorder boxes;
    click("Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QVERIFY(read_text(nodes()).find("<row NodeID=\"12\" GuardTime=\"100\"") != std::string::npos);
  }

  void nodeRowErrorComesFirstAndNothingIsWritten() {
    QVERIFY(window_->FormShow());
    set_row(0, "1", "100", "3", "");
    set_row(1, "128", "100", "3", "");
    edit("E_NG_J1939_SA", 5)->setText("254");
    BoxRecorder boxes;
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kError);
    QCOMPARE(boxes.last(), QString("Error in row 2!! Node ID must be between 1 and 127"));

    set_row(1, "127", "100", "3", "");
    click("Btn_OK");
    QCOMPARE(boxes.last(), QString("Error in Frame J1939 5. Source Address must be between 0 and 253"));
    QVERIFY(!std::filesystem::exists(nodes()));
    QVERIFY(!std::filesystem::exists(frames()));
    QVERIFY(window_->result() != QDialog::Accepted);

    edit("E_NG_J1939_SA", 5)->setText("253");
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(2));
    QCOMPARE(window_->result(), int(QDialog::Accepted));
  }

  void shortAndOddFilesAreShownSafely() {
    write_text(frames(),
               "<NG_J1939_Frames>"
               "<row Priority=\"2\" DataPage=\"8\" PGN=\"10\" SA=\"20\" Mnemonic=\"a\"/>"
               "<row Priority=\"9\" DataPage=\"6\" PGN=\"11\" SA=\"21\" Mnemonic=\"b\"/>"
               "</NG_J1939_Frames>");
    std::string many = "<Node_Guarding>";
    for (int i = 1; i <= 40; ++i) many += "<row NodeID=\"" + std::to_string(i) + "\" GuardTime=\"10\" LifeTimeFactor=\"2\"/>";
    write_text(nodes(), many + "</Node_Guarding>");

    QVERIFY(window_->FormShow());
    QCOMPARE(cell(31, 1), QString("32"));
    QCOMPARE(cell(31, 4), QString(""));
    QCOMPARE(list("CB_NG_J1939_Pri1")->currentIndex(), 2);
    QCOMPARE(list("CB_NG_J1939_DP1")->currentIndex(), -1);
    QCOMPARE(list("CB_NG_J1939_Pri2")->currentIndex(), -1);
    QCOMPARE(edit("E_NG_J1939_Mnemonic", 2)->text(), QString("b"));
    for (int n = 3; n <= 5; ++n) {
      QCOMPARE(edit("E_NG_J1939_PGN", n)->text(), QString("0x000%1").arg(n));
      QCOMPARE(edit("E_NG_J1939_SA", n)->text(), QString("0x0%1").arg(n));
    }
    click("Btn_OK");
    const std::string saved = read_text(frames());
    QVERIFY(saved.find("<row Priority=\"2\" DataPage=\"-1\" PGN=\"10\"") != std::string::npos);
    QVERIFY(saved.find("<row Priority=\"-1\" DataPage=\"6\" PGN=\"11\"") != std::string::npos);
  }

  void malformedFileKeepsTheWindowClosed() {
    write_text(frames(), "<NG_J1939_Frames>\n<row PGN=1/>\n</NG_J1939_Frames>");
    BoxRecorder boxes;
    QCOMPARE(window_->Execute(), int(QDialog::Rejected));
    QVERIFY(!window_->isVisible());
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY(boxes.last().contains("NG_J1939_Frame.xml"));
    QVERIFY(boxes.last().contains("line 2"));
  }

  void failedFrameWriteIsReportedAndTheWindowStaysOpen() {
    write_text(nodes(), "<Node_Guarding/><!--SW_VERSION = 2.001-->");
    write_text(frames(), kDefaultFrameFile);
    QVERIFY(window_->FormShow());
    set_row(0, "7", "100", "3", "");
    BoxRecorder boxes;
    brenvale::set_write_fault_after(200);  // the node list fits, the frames do not
    click("Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY(boxes.last().contains("NG_J1939_Frame.xml"));
    QVERIFY(boxes.last().contains("NodeGuard.xml"));
    QVERIFY(window_->result() != QDialog::Accepted);
    QCOMPARE(read_text(nodes()), std::string("<Node_Guarding/><!--SW_VERSION = 2.001-->"));
    QCOMPARE(read_text(frames()), std::string(kDefaultFrameFile));
  }

 private:
  std::filesystem::path nodes() const { return active_->files().node_guard(); }
  std::filesystem::path frames() const { return active_->files().node_guard_frames(); }
  QTableWidget* grid() const { return window_->findChild<QTableWidget*>("sga"); }
  QString cell(int row, int column) const { return grid()->item(row, column)->text(); }
  void set_row(int row, const char* id, const char* guard, const char* life, const char* name) {
    grid()->item(row, 1)->setText(id);
    grid()->item(row, 2)->setText(guard);
    grid()->item(row, 3)->setText(life);
    grid()->item(row, 4)->setText(name);
  }
  QString label(const char* name) const { return window_->findChild<QLabel*>(name)->text(); }
  QComboBox* list(const char* name) const { return window_->findChild<QComboBox*>(name); }
  QLineEdit* edit(const char* prefix, int frame) const {
    return window_->findChild<QLineEdit*>(QString(prefix) + QString::number(frame));
  }
  void click(const char* name) { QTest::mouseClick(window_->findChild<QPushButton*>(name), Qt::LeftButton); }

  Catalogue catalogue_;
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<ActiveConfiguration> active_;
  std::unique_ptr<TFDefine_NodeGuard> window_;
};

QTEST_MAIN(NodeGuardWindowTest)
#include "node_guard_window_test.moc"
