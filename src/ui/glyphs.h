// The pictures of the main window's icon buttons and text colours set through the palette.
// Both stand in for what the style offers (its standard icons, style sheets) because those
// cost more at start-up than the widgets that show them: a standard icon reads and decodes
// image files, a style sheet gives its widget a style object of its own.
#pragma once

#include <QColor>
#include <QIcon>

class QWidget;

namespace brenvale::ui {

enum class Glyph { kInformation, kOptions, kClose };

// The glyph drawn with shapes only, at the sizes a 50 x 50 button shows.
QIcon glyph_icon(Glyph glyph);

// The widget's text in this colour.
void set_text_colour(QWidget* widget, const QColor& colour);

}  // namespace brenvale::ui
