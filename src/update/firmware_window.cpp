#include "update/firmware_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/program_runner.h"
#include "ui/dialog_frame.h"
#include "ui/message_box.h"

namespace brenvale {

namespace {

constexpr int kClientWidth = 430;
constexpr int kClientHeight = 224;
constexpr int kProgressSteps = 1000;

void paint_background(QCheckBox* box, const QColor& colour) {
  QPalette pal = box->palette();
  pal.setColor(QPalette::Window, colour);
  box->setAutoFillBackground(true);
  box->setPalette(pal);
}

}  // namespace

TFModifyFileSx::TFModifyFileSx(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TFModifyFileSx");
  // A tool window without system menu: only the X button closes it.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle("Generate Firmware");

  Avanzamento = new QProgressBar(this);
  Avanzamento->setObjectName("Avanzamento");
  Avanzamento->setRange(0, kProgressSteps);
  Avanzamento->setTextVisible(false);
  cbport = new QComboBox(this);
  cbport->setObjectName("cbport");
  for (int i = 1; i <= 8; ++i) cbport->addItem(QString("COM%1").arg(i));
  LbButton2 = new QPushButton("Execute update firmware", this);
  LbButton2->setObjectName("LbButton2");
  LbButton2->setAutoDefault(false);
  LbButton1 = new QPushButton("X", this);
  LbButton1->setObjectName("LbButton1");
  LbButton1->setAutoDefault(false);

  // The bank selection of the firmware file; fixed for this converter (banks 1 and 2), so the
  // panel stays hidden.
  GbBank = new QGroupBox(this);
  GbBank->setObjectName("GbBank");
  auto* banks = new QHBoxLayout(GbBank);
  for (int i = 0; i < 5; ++i) {
    Cbbank[i] = new QCheckBox(QString("Bank %1").arg(i + 1), GbBank);
    Cbbank[i]->setObjectName(QString("Cbbank%1").arg(i + 1));
    Cbbank[i]->setVisible(i < 2);
    Cbbank[i]->setChecked(i < 2);
    banks->addWidget(Cbbank[i]);
  }
  GbBank->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->addWidget(Avanzamento);
  auto* port_row = new QHBoxLayout;
  port_row->addWidget(cbport);
  port_row->addStretch();
  layout->addLayout(port_row);
  layout->addWidget(GbBank);
  layout->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LbButton2);
  buttons->addStretch();
  buttons->addWidget(LbButton1);
  layout->addLayout(buttons);

  connect(LbButton2, &QPushButton::clicked, this, &TFModifyFileSx::LbButton2Click);
  connect(LbButton1, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(kClientWidth, kClientHeight);
}

void TFModifyFileSx::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  NomeFileSx = kMasterFirmwareName;
  GbBank->hide();
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + area.height() / 2 - height());
  }
  for (int i = 0; i < 5; ++i) {
    Cbbank[i]->setVisible(i < 2);
    Cbbank[i]->setChecked(i < 2);
    paint_background(Cbbank[i], palette().color(QPalette::Window));
  }
  cbport->setCurrentIndex(0);
  Avanzamento->setValue(0);
  LbButton2->setEnabled(false);
  merged_ = false;

  const std::filesystem::path folder = state_.active.folder();
  std::error_code ec;
  NomeDirBin.clear();
  if (!folder.empty() && std::filesystem::is_directory(folder / "bin", ec)) NomeDirBin = folder / "bin";
  if (!std::filesystem::is_regular_file(state_.folders.master() / kMasterFirmwareName, ec)) {
    ui::error_box(this, QString("Error file ") + kMasterFirmwareName + " not found");
    return;
  }
  NomeDirSxNew = folder;
  NomeFileSxNew = new_firmware_name(NomeFileSx);
  LbButton2->setEnabled(true);
}

void TFModifyFileSx::LbButton2Click() {
  Merge();
  Flash();
}

void TFModifyFileSx::Merge() {
  for (QCheckBox* box : Cbbank) paint_background(box, palette().color(QPalette::Window));
  Avanzamento->setValue(0);
  LbButton2->setEnabled(false);

  FirmwareJob job;
  job.master = state_.folders.master() / NomeFileSx;
  job.output = NomeDirSxNew / NomeFileSxNew;
  job.bin_folder = NomeDirBin;
  // A bank is selected when its box is shown (within the hidden panel) and checked.
  for (int i = 0; i < 5; ++i) job.selected[static_cast<std::size_t>(i)] = !Cbbank[i]->isHidden() && Cbbank[i]->isChecked();
  last_merge_ = merge_firmware(job, [this](std::uint64_t done, std::uint64_t total) {
    Avanzamento->setValue(total ? static_cast<int>(done * kProgressSteps / total) : 0);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  Avanzamento->setValue(kProgressSteps);
  LbButton2->setEnabled(true);
  merged_ = last_merge_.complete();
  for (int number : last_merge_.banks_not_found) {
    paint_background(Cbbank[number - 1], Qt::red);
  }
}

void TFModifyFileSx::Flash() {
  // Only a firmware file that this merge made, with every bank in it, may reach the converter.
  if (!merged_) {
    ui::message_box(this, ui::qs(firmware_merge_message(last_merge_)));
    return;
  }
  const std::filesystem::path output = NomeDirSxNew / NomeFileSxNew;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(output, ec)) {
    ui::message_box(this, "File *.Sx Not Found,Abort Procedure");
    return;
  }
  const std::filesystem::path flash_writer = state_.folders.flash_writer();
  if (!std::filesystem::exists(flash_writer, ec)) {
    ui::message_box(this, "FlashWrite.exe Not Found, Procedure Aborted");
    return;
  }
  const std::string parameters = quote_parameter(output.string()) + " " + std::to_string(cbport->currentIndex());
  if (!start_program(flash_writer, split_parameters(parameters))) {
    ui::message_box(this, "FlashWrite.exe Not Started, Procedure Aborted");
  }
}

}  // namespace brenvale
