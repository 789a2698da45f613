#pragma once

#include "EditorState.h"
#include "GridGeometry.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

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

signals:
    // Pointer position in grid pixels, fraction included. Arrives with or without a button
    // held, and while a press that began here is dragged, from outside the grid too.
    void pointerMoved(float x, float y);
    // A left-button press on the grid and its release.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    bool m_leftPressed = false;
};

QRgb rgbOfPacked(std::int32_t packed);
QColor colourOfPacked(std::int32_t packed);
