#pragma once

#include <QPoint>

// A cell's centre in grid pixels, for entry numbers 1..256.
inline QPoint centreOf(int entry) {
    return {16 * ((entry - 1) % 16) + 8, 16 * ((entry - 1) / 16) + 8};
}
