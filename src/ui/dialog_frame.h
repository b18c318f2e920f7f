// Size and place of the windows: fixed-size dialogs centred on the screen, and the strings
// passed between the core (UTF-8) and Qt.
#pragma once

#include <string>

#include <QString>

class QWidget;

namespace brenvale::ui {

// Gives the window a fixed client area and centres it on its screen.
void fix_size_centered(QWidget* window, int client_width, int client_height);
// Centres the window on its screen at its current size.
void center_on_screen(QWidget* window);

inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string us(const QString& text) { return text.toStdString(); }

}  // namespace brenvale::ui
