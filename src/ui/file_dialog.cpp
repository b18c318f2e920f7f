#include "ui/file_dialog.h"

#include <QFileDialog>

namespace brenvale::ui {

namespace {

SaveDialogHandler& handler() {
  static SaveDialogHandler h;
  return h;
}

}  // namespace

void set_save_dialog_handler(SaveDialogHandler h) { handler() = std::move(h); }

QString save_file_name(QWidget* parent, const QString& name, const QString& folder, const QString& filter,
                       const QString& default_suffix) {
  if (handler()) return handler()(folder, filter);
  QFileDialog dialog(parent, QString(), folder, filter);
  dialog.setObjectName(name);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(default_suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

}  // namespace brenvale::ui
