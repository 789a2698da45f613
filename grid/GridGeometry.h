#pragma once

#include <QRect>

#include <cmath>

constexpr int cellSize = 16;
constexpr int gridCells = 16;
constexpr int gridPixels = cellSize * gridCells;

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell &, const Cell &) = default;
};

// Floors the quotient, so 15.9 still lies in column 0 and -0.5 in column -1.
inline Cell cellOfPoint(float x, float y) {
    return {static_cast<int>(std::floor(x / cellSize)), static_cast<int>(std::floor(y / cellSize))};
}

inline int entryOfCell(Cell cell) { return cell.column + gridCells * cell.row + 1; }

inline Cell cellOfEntry(int entry) { return {(entry - 1) % gridCells, (entry - 1) / gridCells}; }

inline bool isInsideGrid(float x, float y) {
    return x >= 0 && x < gridPixels && y >= 0 && y < gridPixels;
}

// The 16 x 16 pixels a cell covers, from 16 * column to 16 * column + 15 (likewise rows).
inline QRect cellRect(Cell cell) {
    return {cellSize * cell.column, cellSize * cell.row, cellSize, cellSize};
}
