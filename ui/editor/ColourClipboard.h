#pragma once

#include <QColor>

#include <optional>

// Puts a colour on the clipboard as "#rrggbb" and as the colour itself, for programs that
// take either.
void copyColour(const QColor &colour);

// The clipboard's colour: the colour itself where a program offered one, else the colour its
// text names.
std::optional<QColor> clipboardColour();
