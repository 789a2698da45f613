#include "PaletteImage.h"

#include "FormatMessages.h"
#include "GifHeader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <memory>

namespace {

constexpr int gridSide = 16;

bool isPng(const QByteArray &bytes) { return bytes.startsWith("\x89PNG\r\n\x1a\n"); }

// "BM" alone starts too many other files, a colour table among them; the size of the header
// after the file header, one of the few there are, makes it a bitmap.
bool isBmp(const QByteArray &bytes) {
    if (!bytes.startsWith("BM") || bytes.size() < 18)
        return false;
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes.constData() + 14);
    return infoSize == 12 || infoSize == 16 || infoSize == 40 || infoSize == 52 || infoSize == 56 ||
           infoSize == 64 || infoSize == 108 || infoSize == 124;
}

const char *formatOf(const QByteArray &bytes) {
    return isPng(bytes) ? "png" : isBmp(bytes) ? "bmp" : "gif";
}

// A reader for the format the signature names, and for no other.
std::unique_ptr<QImageReader> reader(QBuffer &buffer, const QByteArray &bytes) {
    auto reader = std::make_unique<QImageReader>(&buffer, formatOf(bytes));
    reader->setAutoDetectImageFormat(false);
    return reader;
}

// The size the header gives, invalid where it says none.
QSize headerSize(const QByteArray &bytes) {
    if (isGif(bytes))
        return readGifHeader(bytes).size;
    QBuffer buffer;
    buffer.setData(bytes);
    return reader(buffer, bytes)->size();
}

QString sizeText(const QString &source, QSize size) {
    return QStringLiteral("%1 is %2 \u00d7 %3 pixels")
        .arg(source)
        .arg(size.width())
        .arg(size.height());
}

PaletteRead unreadable(const QString &source) {
    return readFailure(QStringLiteral("%1 is an image that cannot be read.").arg(source));
}

// One colour per square of side `side`, `columns` by `rows` of them in reading order, each the
// pixel at the square's middle.
QList<QRgb> squareColours(const QImage &image, int side, int columns, int rows) {
    QList<QRgb> colours;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            colours.append(image.pixelColor(side * column + side / 2, side * row + side / 2).rgb());
    return colours;
}

} // namespace

bool isPaletteImage(const QByteArray &bytes) {
    return isPng(bytes) || isBmp(bytes) || isGif(bytes);
}

QString imageTooLarge(const QByteArray &bytes, const QString &source) {
    const QSize size = headerSize(bytes);
    if (!size.isValid() || (size.width() <= imageSideLimit && size.height() <= imageSideLimit &&
                            qint64(size.width()) * size.height() <= imagePixelLimit))
        return {};
    return sizeText(source, size) + QStringLiteral(": too large for a palette image.");
}

PaletteRead readPaletteImage(const QByteArray &bytes, const QString &source) {
    if (const QString error = imageTooLarge(bytes, source); !error.isEmpty())
        return readFailure(error);
    PaletteRead read;
    if (const GifHeader gif = isGif(bytes) ? readGifHeader(bytes) : GifHeader();
        gif.hasGlobalColours) {
        read.colours = gif.globalColours;
        return read.colours.isEmpty() ? unreadable(source) : read;
    }

    QBuffer buffer;
    buffer.setData(bytes);
    const auto imageReader = reader(buffer, bytes);
    // Only a header that gives a size has been checked against the limits.
    if (!imageReader->size().isValid())
        return unreadable(source);
    const QImage image = imageReader->read();
    if (image.isNull())
        return unreadable(source);
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB) {
        for (const QRgb colour : image.colorTable())
            read.colours.append(colour | 0xff000000);
        return read;
    }
    const int width = image.width();
    const int height = image.height();
    if (width == height && width % gridSide == 0)
        read.colours = squareColours(image, width / gridSide, gridSide, gridSide);
    else if (width % height == 0 && width / height <= 256)
        read.colours = squareColours(image, height, width / height, 1);
    else
        return readFailure(sizeText(source, image.size()) +
                           QStringLiteral(": not a palette image."));
    return read;
}

QByteArray writePaletteImage(const QList<QRgb> &colours) {
    QImage image(gridSide * gridSide, gridSide * gridSide, QImage::Format_Indexed8);
    image.setColorTable(colours);
    for (int y = 0; y < image.height(); ++y) {
        uchar *const line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            line[x] = uchar(y / gridSide * gridSide + x / gridSide);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return buffer.data();
}
