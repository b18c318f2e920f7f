// Update Device for a converter without Ethernet port: merges the compiled banks 1 and 2 into
// the master firmware MASTER/SXTalvik.sx, writes New_SXTalvik.sx into the configuration folder
// and hands it to the flashing program FlashWrite.exe with the chosen COM port. Its texts are
// fixed English ones.
#pragma once

#include <filesystem>
#include <string>

#include <QDialog>

#include "app/app_state.h"
#include "update/firmware_merge.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QProgressBar;
class QPushButton;

namespace brenvale {

class TFModifyFileSx : public QDialog {
  Q_OBJECT
 public:
  TFModifyFileSx(AppState& state, QWidget* parent);

  std::string NomeFileSx;                 // the master firmware's file name
  std::filesystem::path NomeDirSxNew;     // the output folder: the configuration's folder
  std::string NomeFileSxNew;              // "New_" + NomeFileSx
  std::filesystem::path NomeDirBin;       // the configuration's bin folder, when it exists

  // The last merge, for the window and its tests.
  const FirmwareMergeResult& last_merge() const { return last_merge_; }

 public slots:
  void LbButton2Click();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  void Merge();
  void Flash();

  AppState& state_;
  FirmwareMergeResult last_merge_;
  bool merged_ = false;

  QProgressBar* Avanzamento;
  QComboBox* cbport;
  QPushButton* LbButton2;
  QPushButton* LbButton1;
  QGroupBox* GbBank;
  QCheckBox* Cbbank[5];
};

}  // namespace brenvale
