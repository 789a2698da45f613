#include "PaletteGrid.h"

#include "PackedColour.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

QRgb rgbOfPacked(std::int32_t packed) {
    return qRgb(packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff);
}

QColor colourOfPacked(std::int32_t packed) { return QColor(rgbOfPacked(packed)); }

PaletteGrid::PaletteGrid(QWidget *parent)
    : QWidget(parent), m_image(gridPixels, gridPixels, QImage::Format_RGB32) {
    m_image.fill(palette().color(QPalette::Base));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(gridPixels, gridPixels);
}

void PaletteGrid::fillCell(Cell cell, std::int32_t packed) {
    QPainter painter(&m_image);
    painter.fillRect(cellRect(cell), colourOfPacked(packed));
    update(cellRect(cell));
}

void PaletteGrid::toggleHighlight(Cell cell) {
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(colourOfPacked(white));
    // A one-pixel pen outlines one pixel beyond the rectangle, so this covers the cell's
    // own border pixels and nothing of its neighbours.
    painter.drawRect(cellRect(cell).adjusted(0, 0, -1, -1));
    update(cellRect(cell));
}

void PaletteGrid::redrawGrid(const Palette &palette) {
    // The same pixels as one fill per cell in entry order, written line by line: far cheaper
    // than 256 separate rectangle fills.
    uchar *const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int row = 0; row < gridCells; ++row) {
        std::array<QRgb, gridCells> colours;
        for (int column = 0; column < gridCells; ++column)
            colours[column] = rgbOfPacked(palette[entryOfCell({column, row})][packedChannel]);
        for (int line = row * cellSize; line < (row + 1) * cellSize; ++line) {
            auto *pixels = reinterpret_cast<QRgb *>(bits + line * stride);
            for (const QRgb colour : colours)
                pixels = std::fill_n(pixels, cellSize, colour);
        }
    }
    update();
}

void PaletteGrid::paintEvent(QPaintEvent *) {
    // On a high-DPI screen the image is scaled without smoothing, so cells stay crisp.
    QPainter painter(this);
    painter.drawImage(rect(), m_image);
}

void PaletteGrid::mouseMoveEvent(QMouseEvent *event) {
    const QPointF position = event->position();
    emit pointerMoved(static_cast<float>(position.x()), static_cast<float>(position.y()));
}

void PaletteGrid::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    QWidget::mousePressEvent(event);
}

void PaletteGrid::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && m_leftPressed) {
        m_leftPressed = false;
        emit clicked();
    }
}
