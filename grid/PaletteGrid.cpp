#include "PaletteGrid.h"

#include "FrameDrawing.h"
#include "PackedColour.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

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
    if (cell == m_keyboardCell)
        describeKeyboardCell();
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
    describeKeyboardCell();
}

void PaletteGrid::setEntryDescriber(std::function<QString(int entry)> describer) {
    m_describer = std::move(describer);
    describeKeyboardCell();
}

void PaletteGrid::describeKeyboardCell() {
    if (m_describer)
        setAccessibleDescription(m_describer(entryOfCell(m_keyboardCell)));
}

void PaletteGrid::paintEvent(QPaintEvent *) {
    // On a high-DPI screen the image is scaled without smoothing, so cells stay crisp.
    QPainter painter(this);
    painter.drawImage(rect(), m_image);
    if (m_markerShown) {
        // Two rings well inside the cell, black around white, show on any colour and leave
        // the cell's border, where the selection outline lies, untouched. Screen only: the
        // retained image never sees the marker.
        const QRect cell = cellRect(m_keyboardCell);
        fillFrame(painter, cell.adjusted(2, 2, -2, -2), 1, Qt::black);
        fillFrame(painter, cell.adjusted(3, 3, -3, -3), 1, Qt::white);
    }
}

void PaletteGrid::setMarkerShown(bool shown) {
    if (shown == m_markerShown)
        return;
    m_markerShown = shown;
    update(cellRect(m_keyboardCell));
}

void PaletteGrid::mouseMoveEvent(QMouseEvent *event) {
    const QPointF position = event->position();
    const auto x = static_cast<float>(position.x());
    const auto y = static_cast<float>(position.y());
    setMarkerShown(false);
    if (isInsideGrid(x, y) && cellOfPoint(x, y) != m_keyboardCell) {
        m_keyboardCell = cellOfPoint(x, y);
        describeKeyboardCell();
    }
    emit pointerMoved(x, y);
}

void PaletteGrid::keyPressEvent(QKeyEvent *event) {
    // Keys held with Ctrl, Alt or Meta belong to shortcuts, not to the grid.
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (plain ? event->key() : Qt::Key_unknown) {
    case Qt::Key_Left:
        moveKeyboardCell(-1, 0);
        break;
    case Qt::Key_Right:
        moveKeyboardCell(1, 0);
        break;
    case Qt::Key_Up:
        moveKeyboardCell(0, -1);
        break;
    case Qt::Key_Down:
        moveKeyboardCell(0, 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held key is one click, as a held mouse button is.
        if (!event->isAutoRepeat())
            emit clicked();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PaletteGrid::moveKeyboardCell(int columnStep, int rowStep) {
    const Cell next{std::clamp(m_keyboardCell.column + columnStep, 0, gridCells - 1),
                    std::clamp(m_keyboardCell.row + rowStep, 0, gridCells - 1)};
    setMarkerShown(true);
    if (next != m_keyboardCell) {
        update(cellRect(m_keyboardCell));
        m_keyboardCell = next;
        update(cellRect(m_keyboardCell));
        describeKeyboardCell();
    }
    // Exactly what the pointer would report at the cell's centre; at an edge that is the cell
    // the marker stays on, so the read-out always names the marked entry.
    emit pointerMoved(static_cast<float>(cellSize * next.column + cellSize / 2),
                      static_cast<float>(cellSize * next.row + cellSize / 2));
}

void PaletteGrid::focusOutEvent(QFocusEvent *event) {
    setMarkerShown(false);
    QWidget::focusOutEvent(event);
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

void PaletteGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    // Qt delivers a double-click as press, release, this event, release, with no second press;
    // taken here, it does not reach the press handler as a second press would.
    event->accept();
}
