#include <QHeaderView>
#include <QtTest>

#include "j1939/receive_frames_window.h"
#include "j1939/transmit_frames_window.h"
#include "project/atomic_file.h"
#include "support/box_recorder.h"
#include "table_window_support.h"
#include "ui/column_grid.h"

using brenvale::AppState;
using brenvale::TFReceive_J1939;
using brenvale::TFTransmit_J1939;
using brenvale::testing::BoxRecorder;
using brenvale::testing::click;
using brenvale::testing::Configuration;
using brenvale::testing::open_and;
using brenvale::testing::read_text;
using brenvale::testing::write_text;
using brenvale::ui::BoxKind;
using brenvale::ui::ColumnGrid;

namespace {

constexpr const char* kWithoutPort = "<ParGen><Select_Device>Device Without Ethernet Port</Select_Device></ParGen>";

void type_row(ColumnGrid* grid, int row, const QStringList& texts) {
  for (int c = 0; c < texts.size(); ++c) grid->set_cell(row, c, texts[c]);
}

}  // namespace

class FrameWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void receiveWindowShapeAndCaptions() {
    Configuration config;
    TFReceive_J1939 window(config.state, nullptr);
    QCOMPARE(window.objectName(), QString("TFReceive_J1939"));
    QCOMPARE(window.size(), QSize(876, 337));
    QCOMPARE(window.windowTitle(), QString("Receive J1939 Frames"));
    ColumnGrid* grid = window.findChild<ColumnGrid*>("sga");
    QVERIFY(grid);
    QCOMPARE(grid->data_rows(), 100);
    QCOMPARE(grid->columnCount(), 11);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("N°"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Data Page"));
    QCOMPARE(grid->horizontalHeaderItem(10)->text(), QString("Mnemonic"));
    QCOMPARE(window.findChild<QPushButton*>("Btn_InsRow")->text(), QString("Insert Row"));
    QCOMPARE(window.findChild<QPushButton*>("Btn_DelRow")->text(), QString("Delete Row"));
  }

  void languageChangeReappliesCaptionsAndHeaders() {
    Configuration config;
    TFTransmit_J1939 window(config.state, nullptr);
    config.state.catalogue.set(548, "Trames J1939 émises");
    config.state.catalogue.set(555, "Priorité");
    config.state.catalogue.set(550, "Valider");
    window.Set_Lang();
    QCOMPARE(window.windowTitle(), QString("Trames J1939 émises"));
    QCOMPARE(window.grid()->horizontalHeaderItem(1)->text(), QString("Priorité"));
    QCOMPARE(window.findChild<QPushButton*>("Btn_OK")->text(), QString("Valider"));
  }

  void noFileOkWritesRootAndComment() {
    Configuration config;
    TFReceive_J1939 window(config.state, nullptr);
    const int result = open_and(window, [&] { click(&window, "Btn_OK"); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(read_text(config.files().receive_frames()), std::string("<COBID/><!--SW_VERSION = 2.001-->"));
  }

  void failedCheckShowsRowErrorAndKeepsTheWindowOpen() {
    Configuration config;
    BoxRecorder boxes;
    TFReceive_J1939 window(config.state, nullptr);
    bool still_open = false;
    const int result = open_and(window, [&] {
      type_row(window.grid(), 0, {"", "61444", "0", "", "", "", "N", "N", "1000", "EEC1"});
      click(&window, "Btn_OK");
      still_open = window.isVisible();
      window.grid()->set_cell(0, 0, "0");
      click(&window, "Btn_OK");
    });
    QVERIFY(still_open);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.boxes[0].first, BoxKind::kError);
    QCOMPARE(boxes.boxes[0].second, QString("Error in row 1!! DataPage must be 0 or 1"));
    QCOMPARE(read_text(config.files().receive_frames()),
             std::string("<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" MultiFrame=\"\" StartByte=\"\" NByte=\"\" "
                         "Delete=\"N\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"EEC1\"/></COBID>"
                         "<!--SW_VERSION = 2.001-->"));
  }

  void withoutPortHiddenCellsSurvive() {
    Configuration config;
    write_text(config.files().par_gen(), kWithoutPort);
    const std::string saved =
        "<COBID><row DP=\"1\" PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\"Y\" StartByte=\"4\" NByte=\"30\" Delete=\"N\" "
        "OnRequest=\"Y\" OnReq_Time=\"1\" Mnemonic=\"DM1\"/></COBID><!--SW_VERSION = 2.001-->";
    write_text(config.files().receive_frames(), saved);
    TFReceive_J1939 window(config.state, nullptr);
    QList<bool> shown;
    const int result = open_and(window, [&] {
      for (int c = 0; c < window.grid()->data_columns(); ++c) shown << window.grid()->column_shown(c);
      click(&window, "Btn_OK");
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(shown, QList<bool>({false, true, true, false, false, false, true, false, false, true}));
    QCOMPARE(read_text(config.files().receive_frames()), saved);
  }

  void insertAndDeleteRowsAskBeforeDeleting() {
    Configuration config;
    BoxRecorder boxes(false);
    TFReceive_J1939 window(config.state, nullptr);
    QStringList after_insert, after_no, after_yes;
    open_and(window, [&] {
      ColumnGrid* grid = window.grid();
      for (int r = 0; r < 100; ++r) grid->set_cell(r, 1, QString::number(r + 1));
      grid->set_cell(1, 3, "Y");
      grid->set_current_data_cell(1, 1);
      click(&window, "Btn_InsRow");
      after_insert << grid->cell(1, 1) << grid->cell(2, 1) << grid->cell(2, 3) << grid->cell(99, 1);
      grid->set_current_data_cell(2, 1);
      click(&window, "Btn_DelRow");
      after_no << grid->cell(2, 1);
      boxes.answer(true);
      click(&window, "Btn_DelRow");
      after_yes << grid->cell(2, 1) << grid->cell(2, 3) << grid->cell(99, 1);
      click(&window, "Btn_Cancel");
    });
    QCOMPARE(after_insert, QStringList({"", "2", "Y", "99"}));
    QCOMPARE(after_no, QStringList({"2"}));
    QCOMPARE(after_yes, QStringList({"3", "", ""}));
    QCOMPARE(boxes.boxes.size(), std::size_t(2));
    QCOMPARE(boxes.boxes[0].first, BoxKind::kQuestion);
    QCOMPARE(boxes.boxes[0].second, QString("Are you sure to delete the Row number 3"));
    QVERIFY(!std::filesystem::exists(config.files().receive_frames()));  // Cancel writes nothing
  }

  void unreadableFilesKeepTheWindowClosed() {
    const std::pair<const char*, const char*> cases[] = {
        {"RCobDef.xml", "<COBID>\n<row PGN=\"1\"\n</COBID>"},
        {"RCobDef.xml", "<COBID><row PGN=\"1\" ID_DEV=\"2\" Delete=\"N\"/></COBID>"},
        {"ParGen.xml", "<ParGen>"},
    };
    for (const auto& [file, text] : cases) {
      Configuration config;
      BoxRecorder boxes;
      write_text(config.files().folder / file, text);
      TFReceive_J1939 window(config.state, nullptr);
      QCOMPARE(window.open_modal(), int(QDialog::Rejected));
      QVERIFY(!window.isVisible());
      QCOMPARE(boxes.boxes.size(), std::size_t(1));
      QVERIFY2(boxes.last().contains(file), qPrintable(boxes.last()));
      QCOMPARE(read_text(config.files().folder / file), std::string(text));
    }
  }

  void failedWriteKeepsWindowOpenAndOldFile() {
    Configuration config;
    const std::string old = "<COBID/><!--SW_VERSION = 2.001-->";
    write_text(config.files().receive_frames(), old);
    BoxRecorder boxes;
    TFReceive_J1939 window(config.state, nullptr);
    bool still_open = false;
    open_and(window, [&] {
      type_row(window.grid(), 0, {"0", "1", "2", "", "", "", "N", "N", "1000", "a mnemonic long enough"});
      brenvale::set_write_fault_after(5);
      click(&window, "Btn_OK");
      brenvale::set_write_fault_after(std::nullopt);
      still_open = window.isVisible();
      click(&window, "Btn_Cancel");
    });
    QVERIFY(still_open);
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY2(boxes.last().contains("RCobDef.xml"), qPrintable(boxes.last()));
    QCOMPARE(read_text(config.files().receive_frames()), old);
  }

  void transmitWindowChecksHiddenTimer() {
    Configuration config;
    write_text(config.files().par_gen(), kWithoutPort);
    write_text(config.files().transmit_frames(),
               "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"65262\" ID_DEV=\"0\" OnTimer=\"Y\" OnTimer_Time=\"0\" "
               "Mnemonic=\"ET1\"/></COBID>");
    BoxRecorder boxes;
    TFTransmit_J1939 window(config.state, nullptr);
    QCOMPARE(window.size(), QSize(784, 337));
    QCOMPARE(window.windowTitle(), QString("Transmit J1939 Frames"));
    QList<bool> shown;
    const int result = open_and(window, [&] {
      for (int c = 0; c < window.grid()->data_columns(); ++c) shown << window.grid()->column_shown(c);
      click(&window, "Btn_OK");
      click(&window, "Btn_Cancel");
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(shown, QList<bool>({true, true, true, true, false, false, false, false, false, true}));
    QCOMPARE(boxes.last(), QString("Error in row 1!! Time(ms) must be between 0 and 10000000ms"));
  }
};

QTEST_MAIN(FrameWindowsTest)
#include "frame_windows_test.moc"
