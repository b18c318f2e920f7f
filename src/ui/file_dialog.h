// The save dialog of the windows. Tests install an answer so that no dialog blocks them.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace brenvale::ui {

// Returns the chosen path, or an empty text when the user cancels.
using SaveDialogHandler = std::function<QString(const QString& folder, const QString& filter)>;

void set_save_dialog_handler(SaveDialogHandler handler);

// `name` becomes the dialog's object name, so that it can be found as the window calls it.
QString save_file_name(QWidget* parent, const QString& name, const QString& folder, const QString& filter,
                       const QString& default_suffix);

}  // namespace brenvale::ui
