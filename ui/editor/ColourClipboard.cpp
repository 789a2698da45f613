#include "ColourClipboard.h"

#include "ColourText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void copyColour(const QColor &colour) {
    auto *data = new QMimeData;
    data->setText(colour.name());
    data->setColorData(colour);
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<QColor> clipboardColour() {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    if (data->hasColor()) {
        // Another program may offer an invalid colour or one with alpha; only red, green and
        // blue are kept.
        const auto colour = qvariant_cast<QColor>(data->colorData());
        if (colour.isValid())
            return colour.toRgb();
    }
    return colourOfText(data->text());
}
