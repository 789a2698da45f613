#pragma once

#include "EditorState.h"
#include "GridGeometry.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

// The 256 x 256 pixel picture of the palette. What is drawn stays in a retained image, so
// covering or hiding the window loses nothing and an exclusive-or outline drawn twice
// restores every pixel.
class PaletteGrid : public QWidget {
    Q_OBJECT

public:
    explicit PaletteGrid(QWidget *parent = nullptr);

    void fillCell(Cell cell, std::int32_t packed);
    void toggleHighlight(Cell cell);
    void redrawGrid(const Palette &palette);

    const QImage &image() const { return m_image; }

    // The cell the arrow keys move from. It follows the pointer over the grid; a marker shows
    // it on screen only while the keyboard is in use.
    Cell keyboardCell() const { return m_keyboardCell; }

    // Names an entry for assistive technology; the grid describes the keyboard cell's entry
    // with it whenever that cell or the colours change.
    void setEntryDescriber(std::function<QString(int entry)> describer);

signals:
    // Pointer position in grid pixels, fraction included. Arrives with or without a button
    // held, and while a press that began here is dragged, from outside the grid too. An arrow
    // key on the focused grid reports the centre of the keyboard cell.
    void pointerMoved(float x, float y);
    // A left-button press on the grid and its release, a double-click counting once; or Space,
    // Return or Enter on the focused grid.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void moveKeyboardCell(int columnStep, int rowStep);
    void setMarkerShown(bool shown);
    void describeKeyboardCell();

    QImage m_image;
    bool m_leftPressed = false;
    Cell m_keyboardCell;
    bool m_markerShown = false;
    std::function<QString(int entry)> m_describer;
};

QRgb rgbOfPacked(std::int32_t packed);
QColor colourOfPacked(std::int32_t packed);
