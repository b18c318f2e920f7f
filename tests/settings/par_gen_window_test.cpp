#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <functional>
#include <memory>

#include "project/atomic_file.h"
#include "settings/par_gen_window.h"
#include "settings/settings_record.h"
#include "support/box_recorder.h"
#include "support/temp_dir.h"

using brenvale::Catalogue;
using brenvale::ConfigFiles;
using brenvale::SettingsRecord;
using brenvale::TFParGen2;
using brenvale::testing::BoxRecorder;
using brenvale::testing::read_text;
using brenvale::testing::TempDir;
using brenvale::testing::write_text;

namespace {

template <typename T>
T* find(QWidget* window, const char* name) {
  T* widget = window->findChild<T*>(name);
  if (!widget) qFatal("no control %s", name);
  return widget;
}

// The row that holds a control: its top inside the panel and whether it takes room.
QWidget* row_of(QWidget* window, const char* control) { return find<QWidget>(window, control)->parentWidget(); }

bool shown(QWidget* window, const char* name) { return find<QWidget>(window, name)->isVisibleTo(window); }

void click(QWidget* window, const char* name) { QTest::mouseClick(find<QPushButton>(window, name), Qt::LeftButton); }

QString text_of(QWidget* window, const char* name) { return find<QLineEdit>(window, name)->text(); }

QString address(QWidget* window, const char* prefix) {
  QStringList bytes;
  for (int i = 1; i <= 4; ++i) bytes << text_of(window, (QByteArray(prefix) + QByteArray::number(i)).constData());
  return bytes.join('.');
}

// Tops of the visible rows of a panel, in order.
QList<int> row_tops(QWidget* window, const char* panel_body) {
  QList<int> tops;
  QWidget* body = find<QWidget>(window, panel_body);
  for (QObject* child : body->children()) {
    auto* row = qobject_cast<QWidget*>(child);
    if (row && row->isVisibleTo(window)) tops << row->y();
  }
  std::sort(tops.begin(), tops.end());
  return tops;
}

// Runs `action` as soon as the modal window is shown, so that exec() returns.
void when_shown(QDialog* dialog, std::function<void()> action) {
  QTimer::singleShot(0, dialog, [dialog, action] {
    if (!dialog->isVisible()) {
      when_shown(dialog, action);
      return;
    }
    action();
  });
}

}  // namespace

class ParGenWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<TFParGen2> window_;

  ConfigFiles files() const { return ConfigFiles{dir_->path()}; }
  std::filesystem::path par_gen() const { return files().par_gen(); }

  // Opens the window on the current ParGen.xml and shows it without blocking.
  TFParGen2* open() {
    if (!window_->FormShow(files())) return nullptr;
    window_->show();
    QApplication::processEvents();
    return window_.get();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    catalogue_ = std::make_unique<Catalogue>();
    window_ = std::make_unique<TFParGen2>(*catalogue_, nullptr);
  }
  void cleanup() {
    window_.reset();
    catalogue_.reset();
    dir_.reset();
  }

  void noFileShowsTheVariantWithPortAndItsDefaults() {
    TFParGen2* w = open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Set Communication"));
    QCOMPARE(find<QComboBox>(w, "CB_Select_Device_Device")->currentText(), QString("Device With Ethernet Port"));
    QCOMPARE(find<QComboBox>(w, "CB_J1939_Baudrate")->currentText(), QString("250K"));
    QCOMPARE(find<QComboBox>(w, "CB_CANopen_Baudrate")->currentText(), QString("250K"));
    QVERIFY(shown(w, "CP_Ethernet"));
    QCOMPARE(address(w, "E_Ethernet_IP"), QString("192.168.0.5"));
    QCOMPARE(address(w, "E_Ethernet_SM"), QString("255.255.255.0"));
    QCOMPARE(address(w, "E_Ethernet_GAT"), QString("192.168.0.1"));
    QVERIFY(!find<QCheckBox>(w, "CB_Ethernet_En_GAT")->isChecked());
    QVERIFY(!shown(w, "CB_CANopen_TPDO_Send_Method"));
    QVERIFY(shown(w, "E_J1939_ID_Device"));
    QCOMPARE(find<QToolButton>(w, "CP_Select_Device_Header")->text(), QString("1. Select Device"));
    QCOMPARE(find<QToolButton>(w, "CP_J1939_Header")->text(), QString("2. J1939"));
    QCOMPARE(find<QToolButton>(w, "CP_CANopen_Header")->text(), QString("3. CANopen"));
    QCOMPARE(find<QToolButton>(w, "CP_Ethernet_Header")->text(), QString("4. Ethernet"));
    QVERIFY(!std::filesystem::exists(par_gen()));
  }

  void okWithoutFileWritesTheDefaults() {
    BoxRecorder boxes;
    TFParGen2* w = open();
    click(w, "Btn_OK");
    QVERIFY(boxes.boxes.empty());
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QVERIFY(!w->isVisible());
    QCOMPARE(read_text(par_gen()), brenvale::settings_file_text(SettingsRecord{}));
  }

  void rowsStackWithTheirPitchAndHiddenRowsTakeNoRoom() {
    TFParGen2* w = open();
    QCOMPARE(row_tops(w, "CP_J1939_Body"), (QList<int>{4, 32, 60, 88, 116}));
    QCOMPARE(find<QWidget>(w, "CP_J1939")->height(), 116 + 24 + 24 + 12);
    QCOMPARE(row_tops(w, "CP_CANopen_Body"), (QList<int>{4, 32, 60, 88, 116, 144}));

    find<QComboBox>(w, "CB_Select_Device_Device")->setCurrentIndex(0);
    QCOMPARE(row_tops(w, "CP_J1939_Body"), (QList<int>{4, 32, 60}));
    QCOMPARE(find<QWidget>(w, "CP_J1939")->height(), 60 + 24 + 24 + 12);
    QVERIFY(!shown(w, "E_J1939_ID_Device"));
    QVERIFY(!shown(w, "CB_J1939_En_Filter_FECA"));
    QVERIFY(!shown(w, "CP_Ethernet"));
    QVERIFY(shown(w, "CB_CANopen_TPDO_Send_Method"));
    QVERIFY(!shown(w, "E_CANopen_TPDO_Send_Time"));
    QCOMPARE(row_tops(w, "CP_CANopen_Body").size(), 7);

    find<QComboBox>(w, "CB_CANopen_TPDO_Send_Method")->setCurrentIndex(1);  // On Timer
    QVERIFY(shown(w, "E_CANopen_TPDO_Send_Time"));
    QCOMPARE(row_of(w, "E_CANopen_TPDO_Send_Time")->y(), row_of(w, "CB_CANopen_TPDO_Send_Method")->y() + 28);

    QVERIFY(!shown(w, "E_CANopen_Nodeguard_Send_J1939_Time"));
    QTest::mouseClick(find<QCheckBox>(w, "CB_CANopen_Enable_NodeGuard"), Qt::LeftButton, {}, QPoint(8, 12));
    QVERIFY(shown(w, "E_CANopen_Nodeguard_Send_J1939_Time"));
    QVERIFY(shown(w, "CB_CANopen_Nodeguard_Send_J1939"));

    QVERIFY(!shown(w, "E_CANopen_SDO_Timeout"));
    QTest::mouseClick(find<QCheckBox>(w, "CB_CANopen_Enable_SDO_Client"), Qt::LeftButton, {}, QPoint(8, 12));
    QVERIFY(shown(w, "E_CANopen_SDO_Timeout"));
    QCOMPARE(row_tops(w, "CP_CANopen_Body"),
             (QList<int>{4, 32, 60, 88, 116, 144, 172, 200, 228, 256}));
    // The network-start delay and the gateway bytes show whatever their box says.
    QVERIFY(shown(w, "E_CANopen_NetOpe_Delay"));
  }

  void collapsedPanelKeepsOnlyItsHeader() {
    TFParGen2* w = open();
    auto* header = find<QToolButton>(w, "CP_J1939_Header");
    QTest::mouseClick(header, Qt::LeftButton);
    QVERIFY(!shown(w, "E_J1939_TimeOut"));
    QCOMPARE(find<QWidget>(w, "CP_J1939")->height(), header->height());
    QTest::mouseClick(header, Qt::LeftButton);
    QVERIFY(shown(w, "E_J1939_TimeOut"));
  }

  void switchingTheVariantNeverChangesAValue() {
    write_text(par_gen(),
               "<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device>"
               "<Ethernet_IP1>300</Ethernet_IP1><Ethernet_SM2>7</Ethernet_SM2><IDDev_J1939>999</IDDev_J1939>"
               "<Sent_TPDO>0</Sent_TPDO><Sent_TPDO_Time>250</Sent_TPDO_Time></Par_Gen>");
    TFParGen2* w = open();
    auto* device = find<QComboBox>(w, "CB_Select_Device_Device");
    QCOMPARE(device->currentIndex(), 0);
    QVERIFY(!shown(w, "CP_Ethernet"));
    const SettingsRecord before = w->read_controls();
    device->setCurrentIndex(1);
    QVERIFY(shown(w, "CP_Ethernet"));
    QCOMPARE(address(w, "E_Ethernet_IP"), QString("300.168.0.5"));
    QCOMPARE(text_of(w, "E_J1939_ID_Device"), QString("999"));
    device->setCurrentIndex(0);
    QCOMPARE(w->read_controls(), before);
  }

  void hiddenValuesAreWrittenBackAsHeld() {
    BoxRecorder boxes;
    write_text(par_gen(),
               "<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device>"
               "<Ethernet_IP1>300</Ethernet_IP1><Filter_FECA_Time>0</Filter_FECA_Time>"
               "<Net_Start_CANopen>0</Net_Start_CANopen><Delay_CANopen>999</Delay_CANopen></Par_Gen>");
    TFParGen2* w = open();
    click(w, "Btn_OK");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    QCOMPARE(w->result(), int(QDialog::Accepted));
    const std::string written = read_text(par_gen());
    QVERIFY(written.find("<Ethernet_IP1>300</Ethernet_IP1>") != std::string::npos);
    QVERIFY(written.find("<Filter_FECA_Time>0</Filter_FECA_Time>") != std::string::npos);
    QVERIFY(written.find("<Delay_CANopen>999</Delay_CANopen>") != std::string::npos);
  }

  void failedCheckShowsItsMessageAndWritesNothing_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty timeout") << "E_J1939_TimeOut" << ""
                                   << "Error J1939!! TimeOut Data must between 0 and 255 seconds";
    QTest::newRow("FECA 0 with filter off") << "E_J1939_Filter_FECA" << "0"
                                            << "Error J1939!! Filter FECA Time must between 1 and 100000 milliseconds";
    QTest::newRow("node ID 128") << "E_CANopen_IDDevice" << "128"
                                 << "Error CANopen!! ID Device must be between 1 and 127";
    QTest::newRow("IP byte 256") << "E_Ethernet_IP3" << "256" << "Error Ethernet!! IP Address 3 must between 0 and 255";
    QTest::newRow("typed dot text") << "E_Ethernet_SM1" << "2.5"
                                    << "Error Ethernet!! SubNet Mask 1 must between 0 and 255";
  }
  void failedCheckShowsItsMessageAndWritesNothing() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    BoxRecorder boxes;
    write_text(par_gen(), "<Par_Gen/>\n");
    TFParGen2* w = open();
    find<QComboBox>(w, "CB_Select_Device_Device")->setCurrentIndex(1);
    find<QLineEdit>(w, control.toLatin1().constData())->setText(text);
    click(w, "Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kError);
    QCOMPARE(boxes.boxes[0].second, message);
    QVERIFY(w->isVisible());
    QCOMPARE(read_text(par_gen()), std::string("<Par_Gen/>\n"));
  }

  void sdoTimeoutIsCheckedOnlyWhileTheClientIsOn() {
    BoxRecorder boxes;
    TFParGen2* w = open();
    find<QLineEdit>(w, "E_CANopen_SDO_Timeout")->setText("100001");
    find<QCheckBox>(w, "CB_CANopen_Enable_SDO_Client")->setChecked(true);
    click(w, "Btn_OK");
    QCOMPARE(boxes.last(), QString("Error CANopen!! SDO Client TimeOut must be between 0 and 100000"));
    QVERIFY(!std::filesystem::exists(par_gen()));
    find<QCheckBox>(w, "CB_CANopen_Enable_SDO_Client")->setChecked(false);
    click(w, "Btn_OK");
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY(read_text(par_gen()).find("<TO_SDO_Client>100001</TO_SDO_Client><Ethernet_IP1>") != std::string::npos);
  }

  void dotMovesTheFocusAlongTheAddressEdits() {
    TFParGen2* w = open();
    w->activateWindow();
    struct Step {
      const char* from;
      const char* to;
    };
    const Step steps[] = {{"E_Ethernet_IP1", "E_Ethernet_IP2"},
                          {"E_Ethernet_IP4", "E_Ethernet_SM1"},
                          {"E_Ethernet_SM4", "E_Ethernet_GAT1"},
                          {"E_Ethernet_GAT3", "E_Ethernet_GAT4"},
                          {"E_Ethernet_GAT4", "E_Ethernet_GAT4"}};
    for (const Step& step : steps) {
      QLineEdit* from = find<QLineEdit>(w, step.from);
      from->setFocus();
      QApplication::processEvents();
      const QString before = from->text();
      QTest::keyClick(from, '.');
      QCOMPARE(from->text(), before);
      QCOMPARE(QApplication::focusWidget(), find<QWidget>(w, step.to));
    }
    // Nothing else is filtered: letters and signs go in and are caught by the checks.
    QLineEdit* ip1 = find<QLineEdit>(w, "E_Ethernet_IP1");
    ip1->setFocus();
    ip1->selectAll();
    QTest::keyClicks(ip1, "-a1");
    QCOMPARE(ip1->text(), QString("-a1"));
    // Elsewhere a dot is an ordinary character.
    QLineEdit* timeout = find<QLineEdit>(w, "E_J1939_TimeOut");
    timeout->setFocus();
    QTest::keyClick(timeout, '.');
    QCOMPARE(timeout->text(), QString("10."));
  }

  void cancelAfterEditsLeavesTheFileAsItWas() {
    const std::string original = "<Par_Gen>\n  <TimeOut_Data>20</TimeOut_Data>\n  <Extra/>\n</Par_Gen>\n";
    write_text(par_gen(), original);
    TFParGen2* w = open();
    QCOMPARE(text_of(w, "E_J1939_TimeOut"), QString("20"));
    find<QLineEdit>(w, "E_J1939_TimeOut")->setText("30");
    find<QComboBox>(w, "CB_Select_Device_Device")->setCurrentIndex(0);
    click(w, "Btn_Cancel");
    QCOMPARE(w->result(), int(QDialog::Rejected));
    QCOMPARE(read_text(par_gen()), original);
    // Opening again shows the file, not the cancelled edits.
    w = open();
    QCOMPARE(text_of(w, "E_J1939_TimeOut"), QString("20"));
  }

  void malformedFileShowsTheParserErrorAndDoesNotOpen() {
    BoxRecorder boxes;
    const std::string broken = "<Par_Gen>\n<TimeOut_Data>10</Timeout_Data>\n</Par_Gen>";
    write_text(par_gen(), broken);
    QCOMPARE(window_->open_for(files()), int(QDialog::Rejected));
    QVERIFY(!window_->isVisible());
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QCOMPARE(boxes.boxes[0].first, brenvale::ui::BoxKind::kError);
    QVERIFY2(boxes.last().contains("ParGen.xml") && boxes.last().contains("line 2") && boxes.last().contains("column"),
             qPrintable(boxes.last()));
    QCOMPARE(read_text(par_gen()), broken);
  }

  void failedWriteShowsTheErrorAndStaysOpen() {
    BoxRecorder boxes;
    write_text(par_gen(), "<Par_Gen><TimeOut_Data>20</TimeOut_Data></Par_Gen>");
    TFParGen2* w = open();
    brenvale::set_write_fault_after(30);
    click(w, "Btn_OK");
    brenvale::set_write_fault_after(std::nullopt);
    QCOMPARE(boxes.boxes.size(), std::size_t(1));
    QVERIFY2(boxes.last().contains("ParGen.xml"), qPrintable(boxes.last()));
    QVERIFY(w->isVisible());
    QCOMPARE(read_text(par_gen()), std::string("<Par_Gen><TimeOut_Data>20</TimeOut_Data></Par_Gen>"));
    QCOMPARE(brenvale::testing::entry_count(dir_->path()), std::size_t(1));
    // The user can try again once the disk has room.
    click(w, "Btn_OK");
    QCOMPARE(w->result(), int(QDialog::Accepted));
    QVERIFY(read_text(par_gen()).find("<TimeOut_Data>20</TimeOut_Data>") != std::string::npos);
  }

  void openForReturnsAcceptedAfterASave() {
    BoxRecorder boxes;
    when_shown(window_.get(), [this] {
      find<QLineEdit>(window_.get(), "E_CANopen_IDDevice")->setText("$7F");
      click(window_.get(), "Btn_OK");
    });
    QCOMPARE(window_->open_for(files()), int(QDialog::Accepted));
    QVERIFY(read_text(par_gen()).find("<IDDev_CANopen>$7F</IDDev_CANopen>") != std::string::npos);
  }

  void widthIsHeldAndTheGroupScrollsWithTheWheel() {
    TFParGen2* w = open();
    QCOMPARE(w->width(), 460);
    w->resize(700, 260);
    QApplication::processEvents();
    QCOMPARE(w->width(), 460);
    QCOMPARE(w->height(), 260);

    auto* group = find<QScrollArea>(w, "CPG");
    QScrollBar* bar = group->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);
    // A backward notch over a list scrolls down and leaves the list's choice alone.
    auto* baud = find<QComboBox>(w, "CB_J1939_Baudrate");
    const QPoint at = baud->rect().center();
    QWheelEvent down(at, baud->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(baud, &down);
    const int expected = std::min(bar->maximum(), QApplication::wheelScrollLines() * bar->singleStep());
    QCOMPARE(bar->value(), expected);
    QCOMPARE(baud->currentText(), QString("250K"));
    QWheelEvent up(at, group->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(group->viewport(), &up);
    QCOMPARE(bar->value(), 0);
  }

  void languageRoutineAppliesCaptionsAndHints() {
    catalogue_->set(1109, "Bitrate");
    catalogue_->set(1110, "Pick it");
    catalogue_->set(1157, "CANopen side");
    catalogue_->set(1092, "Fourth IP byte");
    catalogue_->set(1003, "Abort");
    window_->Set_Lang();
    QCOMPARE(find<QLabel>(window_.get(), "L_J1939_Baudrate")->text(), QString("Bitrate"));
    QCOMPARE(find<QComboBox>(window_.get(), "CB_J1939_Baudrate")->toolTip(), QString("Pick it"));
    QCOMPARE(find<QToolButton>(window_.get(), "CP_CANopen_Header")->text(), QString("3. CANopen side"));
    QCOMPARE(find<QLineEdit>(window_.get(), "E_Ethernet_IP4")->toolTip(), QString("Fourth IP byte"));
    QCOMPARE(find<QLineEdit>(window_.get(), "E_Ethernet_SM1")->toolTip(), QString("Insert First byte of SubNet Mask"));
    QCOMPARE(find<QLineEdit>(window_.get(), "E_Ethernet_GAT4")->toolTip(),
             QString("Insert Fourth byte of Default Gateway"));
    QCOMPARE(find<QPushButton>(window_.get(), "Btn_Cancel")->text(), QString("Abort"));
    QCOMPARE(find<QCheckBox>(window_.get(), "CB_CANopen_NetOpe")->text(),
             QString("Network Start at Start-up. Delay (seconds)"));
  }

  void listChoicesRoundTrip() {
    BoxRecorder boxes;
    write_text(par_gen(),
               "<Par_Gen><Select_Device>device with ethernet port</Select_Device><BaudRateCAN>12</BaudRateCAN>"
               "<Baud_CANopen>9</Baud_CANopen><Peer_to_Peer>true</Peer_to_Peer></Par_Gen>");
    TFParGen2* w = open();
    QCOMPARE(find<QComboBox>(w, "CB_J1939_Baudrate")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>(w, "CB_CANopen_Baudrate")->currentText(), QString());
    QVERIFY(!find<QCheckBox>(w, "CB_J1939_Enable_Peer_To_Peer")->isChecked());
    click(w, "Btn_OK");
    QVERIFY2(boxes.boxes.empty(), qPrintable(boxes.last()));
    const std::string written = read_text(par_gen());
    QVERIFY(written.find("<Select_Device>Device With Ethernet Port</Select_Device><BaudRateCAN>-1</BaudRateCAN>") !=
            std::string::npos);
    QVERIFY(written.find("<Baud_CANopen>9</Baud_CANopen>") != std::string::npos);
    QVERIFY(written.find("<Peer_to_Peer>0</Peer_to_Peer>") != std::string::npos);
  }
};

QTEST_MAIN(ParGenWindowTest)
#include "par_gen_window_test.moc"
