#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The colour a piece of clipboard text names, blanks around it ignored: "#rrggbb" or "rrggbb"
// in hex of either case, "#rgb" with each digit doubled, "rgb(r, g, b)", or three whole numbers
// 0..255 apart by commas or blanks. Anything else names no colour.
std::optional<QColor> colourOfText(const QString &text);
