#include "ui/dialog_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace brenvale::ui {

void fix_size_centered(QWidget* window, int client_width, int client_height) {
  window->setFixedSize(client_width, client_height);
  center_on_screen(window);
}

void center_on_screen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

}  // namespace brenvale::ui
