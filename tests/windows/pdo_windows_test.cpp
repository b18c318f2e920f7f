#include <QComboBox>
#include <QtTest>

#include "canopen/rpdo_window.h"
#include "canopen/tpdo_window.h"
#include "support/box_recorder.h"
#include "table_window_support.h"
#include "ui/column_grid.h"

using brenvale::TFDefine_RPDO;
using brenvale::TFDefine_TPDO;
using brenvale::testing::BoxRecorder;
using brenvale::testing::click;
using brenvale::testing::Configuration;
using brenvale::testing::open_and;
using brenvale::testing::read_text;
using brenvale::testing::write_text;
using brenvale::ui::ColumnGrid;

namespace {

constexpr const char* kReceiveFrames =
    "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"0\" PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\"Y\" NByte=\"20\" Delete=\"N\" Mnemonic=\"\"/></COBID>";

QList<int> widths(ColumnGrid* grid) {
  QList<int> w;
  for (int c = 0; c < grid->columnCount(); ++c) w << grid->columnWidth(c);
  return w;
}

}  // namespace

class PdoWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void transmitPdoWindowShape() {
    Configuration config;
    TFDefine_TPDO window(config.state, nullptr);
    QCOMPARE(window.objectName(), QString("TFDefine_TPDO"));
    QCOMPARE(window.size(), QSize(700, 337));
    QCOMPARE(window.windowTitle(), QString("Define Transmit PDO"));
    QCOMPARE(widths(window.grid()), QList<int>({40, 70, 70, 70, 130, 78, 48, 70, 87, 98}));
    QCOMPARE(window.grid()->horizontalHeaderItem(6)->text(), QString("On CAN"));
  }

  void frameChoicesAndStartByteMessage() {
    Configuration config;
    write_text(config.files().receive_frames(), kReceiveFrames);
    BoxRecorder boxes;
    TFDefine_TPDO window(config.state, nullptr);
    QStringList choices;
    const int result = open_and(window, [&] {
      ColumnGrid* grid = window.grid();
      choices = grid->choices(3);
      grid->set_cell(0, 0, "0x181");
      grid->set_cell(0, 1, "1");
      grid->set_cell(0, 2, "21");
      grid->set_cell(0, 3, "2;65226;3;");
      click(&window, "Btn_OK");
      grid->set_cell(0, 2, "18");
      grid->set_cell(0, 1, "3");
      click(&window, "Btn_OK");
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(choices, QStringList({"", "1;61444;0;", "2;65226;3;"}));
    QCOMPARE(boxes.last(), QString("Error in row 1!! Start Byte must be between 1 and 20"));
    QCOMPARE(read_text(config.files().transmit_pdos()),
             std::string("<PDOJ1939><row COB-ID=\"0x181\" Dimension=\"3\" Offset=\"18\" Frame_J1939=\"2\" DataChange=\"\" "
                         "OnCAN=\"\" OnTimer=\"\" SendTimer=\"\" Mnemonic=\"\"/></PDOJ1939><!--SW_VERSION = 2.001-->"));
  }

  void tenRowsWithoutPortShowAndSaveFour() {
    Configuration config;
    write_text(config.files().par_gen(), "<ParGen><Select_Device>Device Without Ethernet Port</Select_Device></ParGen>");
    std::string file = "<PDOJ1939>";
    for (int i = 1; i <= 10; ++i) file += "<row COB-ID=\"" + std::to_string(i) + "\" Dimension=\"1\" Mnemonic=\"\"/>";
    write_text(config.files().transmit_pdos(), file + "</PDOJ1939>");
    TFDefine_TPDO window(config.state, nullptr);
    int rows = 0;
    bool timer_shown = true;
    open_and(window, [&] {
      rows = window.grid()->data_rows();
      timer_shown = window.grid()->column_shown(7);
      click(&window, "Btn_OK");
    });
    QCOMPARE(rows, 4);
    QVERIFY(!timer_shown);
    const std::string saved = read_text(config.files().transmit_pdos());
    QVERIFY(saved.find("COB-ID=\"4\"") != std::string::npos);
    QVERIFY(saved.find("COB-ID=\"5\"") == std::string::npos);
  }

  void receivePdoWindowSavesAndRefusesBadFrames() {
    Configuration config;
    TFDefine_RPDO window(config.state, nullptr);
    QCOMPARE(window.size(), QSize(700, 337));
    QCOMPARE(window.windowTitle(), QString("Define Receive PDO"));
    QCOMPARE(widths(window.grid()), QList<int>({40, 70, 70, 70, 130, 288}));
    BoxRecorder boxes;
    open_and(window, [&] {
      window.grid()->set_cell(0, 0, "0x201");
      window.grid()->set_cell(0, 1, "8");
      window.grid()->set_cell(0, 2, "2");
      click(&window, "Btn_OK");
      window.grid()->set_cell(0, 2, "1");
      click(&window, "Btn_OK");
    });
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.last(), QString("Error in row 1!! Dimension and Start Byte are not correct together"));
    QCOMPARE(read_text(config.files().receive_pdos()),
             std::string("<Define_RPDO><row COB-ID=\"0x201\" Dimension=\"8\" Offset=\"1\" Mnemonic=\"\"/></Define_RPDO>"
                         "<!--SW_VERSION = 2.001-->"));

    write_text(config.files().transmit_frames(), "<COBID><row PGN=\"1\"/></COBID>");
    QCOMPARE(window.open_modal(), int(QDialog::Rejected));
    QVERIFY2(boxes.last().contains("TCobDef.xml"), qPrintable(boxes.last()));
  }
};

QTEST_MAIN(PdoWindowsTest)
#include "pdo_windows_test.moc"
