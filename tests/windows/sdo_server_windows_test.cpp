#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "canopen/sdo_server_window.h"
#include "support/box_recorder.h"
#include "table_window_support.h"

using brenvale::TFDefine_Server_SDO_Read;
using brenvale::TFDefine_Server_SDO_Write;
using brenvale::testing::BoxRecorder;
using brenvale::testing::child;
using brenvale::testing::click;
using brenvale::testing::Configuration;
using brenvale::testing::open_and;
using brenvale::testing::read_text;
using brenvale::testing::write_text;

namespace {

constexpr const char* kReceiveFrames =
    "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"1\" PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\" y \" NByte=\"20\" Delete=\"N\" Mnemonic=\"\"/></COBID>";
constexpr const char* kTransmitFrames =
    "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"1\" ID_DEV=\"1\" Mnemonic=\"\"/></COBID>";

QComboBox* box(QWidget* window, const char* name) { return child<QComboBox>(window, name); }
QString edit(QWidget* window, const char* name) { return child<QLineEdit>(window, name)->text(); }

void set_editor(QWidget* window, const QString& index, const QString& sub) {
  child<QLineEdit>(window, "E_Index_SDO")->setText(index);
  child<QLineEdit>(window, "E_Sub_SDO")->setText(sub);
}

// Texts of the editor: index, sub-index, size, the four bytes (and the send flag).
QStringList editor_texts(QWidget* window) {
  QStringList texts = {edit(window, "E_Index_SDO"), edit(window, "E_Sub_SDO"), box(window, "CB_Dim_SDO")->currentText()};
  for (const char* name : {"CB_Byte1_SDO", "CB_Byte2_SDO", "CB_Byte3_SDO", "CB_Byte4_SDO"}) texts << box(window, name)->currentText();
  if (auto* send = window->findChild<QComboBox*>("CB_SDO_Send_on_Write")) texts << send->currentText();
  return texts;
}

}  // namespace

class SdoServerWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void readWindowFramesBytesAndSizeRule() {
    Configuration config;
    write_text(config.files().receive_frames(), kReceiveFrames);
    TFDefine_Server_SDO_Read window(config.state, nullptr);
    QCOMPARE(window.size(), QSize(629, 572));
    QCOMPARE(window.windowTitle(), QString("Define SDO Server in Read"));
    QStringList frames;
    int bytes_offered = 0;
    QStringList after_two_bytes;
    bool byte3_enabled = true;
    open_and(window, [&] {
      auto* list = child<QListWidget>(&window, "LB_J1939_Frames");
      for (int i = 0; i < list->count(); ++i) frames << list->item(i)->text();
      list->setCurrentRow(1);
      bytes_offered = box(&window, "CB_Byte1_SDO")->count();
      box(&window, "CB_Byte3_SDO")->setCurrentIndex(20);
      box(&window, "CB_Byte4_SDO")->setCurrentIndex(19);
      box(&window, "CB_Dim_SDO")->setCurrentIndex(1);
      after_two_bytes = editor_texts(&window);
      byte3_enabled = box(&window, "CB_Byte3_SDO")->isEnabled();
      click(&window, "Btn_Cancel");
    });
    QCOMPARE(frames, QStringList({"0\t61444\t0", "1\t65226\t3"}));
    QCOMPARE(bytes_offered, 21);
    QCOMPARE(after_two_bytes, QStringList({"", "", "2 Bytes", "None", "None", "None", "None"}));
    QVERIFY(!byte3_enabled);
  }

  void createChecksAndOkSaves() {
    Configuration config;
    write_text(config.files().receive_frames(), kReceiveFrames);
    BoxRecorder boxes;
    TFDefine_Server_SDO_Read window(config.state, nullptr);
    QStringList objects;
    const int result = open_and(window, [&] {
      set_editor(&window, "0x2000", "1");
      click(&window, "Btn_Create");  // no frame selected: nothing
      auto* frames = child<QListWidget>(&window, "LB_J1939_Frames");
      frames->setCurrentRow(0);
      set_editor(&window, "0x2000", "1");
      box(&window, "CB_Byte1_SDO")->setCurrentIndex(3);
      click(&window, "Btn_Create");
      frames->setCurrentRow(1);
      set_editor(&window, "8192", "01");
      click(&window, "Btn_Create");
      set_editor(&window, "0x6000", "0");
      click(&window, "Btn_Create");
      set_editor(&window, "0x2000", "2");
      click(&window, "Btn_Create");
      auto* list = child<QListWidget>(&window, "LB_SDOs");
      for (int i = 0; i < list->count(); ++i) objects << list->item(i)->text();
      click(&window, "Btn_OK");
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(boxes.boxes.size(), std::size_t(2));
    QCOMPARE(boxes.boxes[0].second, QString("Error!! Index and SubIndex of SDO is already used"));
    QCOMPARE(boxes.boxes[1].second, QString("Error!! Index of SDO must be between 0x2000 and 0x5FFF"));
    QCOMPARE(objects, QStringList({"Index : 0x2000; Sub : 2;"}));
    QCOMPARE(read_text(config.files().sdo_read()),
             std::string("<RInfoCob><row NrPdo=\"1\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"0\" B1=\"3\" B2=\"0\" "
                         "B3=\"0\" B4=\"0\"/><row NrPdo=\"2\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"0\" B1=\"0\" "
                         "B2=\"0\" B3=\"0\" B4=\"0\"/></RInfoCob><!--SW_VERSION = 2.001-->"));
  }

  void clipboardLivesAcrossShowingsAndStartsEmpty() {
    Configuration config;
    write_text(config.files().transmit_frames(), kTransmitFrames);
    write_text(config.files().sdo_write(),
               "<DefineSDOServerTraJ1939><row NrPdo=\"1\" Index=\"0x2100\" SubIndex=\"3\" Dimension=\"1\" B1=\"2\" "
               "B2=\"1\" B3=\"0\" B4=\"0\" Send_SDO=\"1\"/></DefineSDOServerTraJ1939>");
    TFDefine_Server_SDO_Write window(config.state, nullptr);
    QCOMPARE(window.windowTitle(), QString("Define SDO Server in Write"));
    QStringList before_copy, after_copy;
    open_and(window, [&] {
      child<QListWidget>(&window, "LB_J1939_Frames")->setCurrentRow(0);
      set_editor(&window, "typed", "typed");
      click(&window, "Btn_Paste");
      before_copy = editor_texts(&window);
      child<QListWidget>(&window, "LB_SDOs")->setCurrentRow(0);
      click(&window, "Btn_Copy");
      click(&window, "Btn_Cancel");
    });
    open_and(window, [&] {
      child<QListWidget>(&window, "LB_J1939_Frames")->setCurrentRow(0);
      click(&window, "Btn_Paste");
      after_copy = editor_texts(&window);
      click(&window, "Btn_Cancel");
    });
    QCOMPARE(before_copy, QStringList({"", "", "4 Bytes", "None", "None", "None", "None", "False"}));
    QCOMPARE(after_copy, QStringList({"0x2100", "3", "2 Bytes", "Byte 2", "Byte 1", "None", "None", "True"}));
  }

  void unreadableObjectFileKeepsTheWindowClosed() {
    Configuration config;
    write_text(config.files().transmit_frames(), kTransmitFrames);
    const std::string objects = "<DefineSDOServerTraJ1939><row NrPdo=\"1\" Index=\"0x2100\"/></DefineSDOServerTraJ1939>";
    write_text(config.files().sdo_write(), objects);
    BoxRecorder boxes;
    TFDefine_Server_SDO_Write window(config.state, nullptr);
    QCOMPARE(window.open_modal(), int(QDialog::Rejected));
    QVERIFY2(boxes.last().contains("TInfoCob.xml"), qPrintable(boxes.last()));
    QCOMPARE(read_text(config.files().sdo_write()), objects);
  }
};

QTEST_MAIN(SdoServerWindowsTest)
#include "sdo_server_windows_test.moc"
