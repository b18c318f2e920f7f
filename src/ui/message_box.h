// The message boxes of every window: an error box with OK, a warning box, a plain message box
// and a question box with Yes and No. Tests install a handler that answers them without
// blocking; without one they are real modal boxes.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace brenvale::ui {

enum class BoxKind { kError, kWarning, kMessage, kQuestion };

// Returns the answer to a question box (true = Yes); ignored for the other kinds.
using BoxHandler = std::function<bool(BoxKind kind, const QString& text)>;

// Installs a handler for every later box; an empty handler restores real boxes.
void set_box_handler(BoxHandler handler);

void error_box(QWidget* parent, const QString& text);
void warning_box(QWidget* parent, const QString& text);
void message_box(QWidget* parent, const QString& text);
bool question_box(QWidget* parent, const QString& text);

}  // namespace brenvale::ui
