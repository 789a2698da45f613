#include "FittedFont.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace {

// QLineEdit keeps this many pixels free on either side of its text, inside its text margins,
// and one pixel more at the end for the cursor; text wider than that scrolls and is cut. Aligned
// text ends one more pixel short of that end.
constexpr int lineEditInnerMargin = 2;
constexpr int lineEditCursorWidth = 1;
constexpr int lineEditEndGap = 1;

// Ink that touches a frame or a control's edge loses its anti-aliased rim once the window is
// scaled by a fraction: every text keeps this many pixels clear on each side, at least one
// device pixel at any scale.
constexpr int clearance = 1;

QRect lineEditContents(const QLineEdit *box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    return box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
}

QSize lineEditRoom(const QLineEdit *box) {
    const QRect text = lineEditContents(box).marginsRemoved(box->textMargins());
    // Aligned right or centred, the text ends short of the cursor and the pixel after it, which
    // keeps it clear of the frame on the right; on the left it keeps its own pixel clear.
    return {text.width() - 2 * lineEditInnerMargin - lineEditCursorWidth - lineEditEndGap -
                clearance,
            text.height()};
}

QSize buttonRoom(const QPushButton *button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isFlat())
        option.features |= QStyleOptionButton::Flat;
    const QRect text =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return {text.width() - 2 * clearance, text.height()};
}

QSize labelRoom(const QLabel *label) {
    const int margin = label->margin();
    QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    // A framed label with no indent of its own indents its text by half an "x".
    const int indent = label->indent() >= 0 ? label->indent()
                       : label->frameWidth() > 0
                           ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin
                           : 0;
    // An indent keeps the text that far from the edge it starts at.
    return {room.width() - std::max(indent, clearance) - clearance, room.height()};
}

QFont sized(QFont font, bool inPoints, double size) {
    if (inPoints)
        font.setPointSizeF(size);
    else
        font.setPixelSize(static_cast<int>(size));
    return font;
}

} // namespace

QSize textRoom(const QWidget *control) {
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return lineEditRoom(box);
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return buttonRoom(button);
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return labelRoom(label);
    return {};
}

bool textsFit(const QFont &font, const QStringList &texts, QSize room) {
    const QFontMetrics metrics(font);
    if (metrics.height() > room.height())
        return false;
    return std::all_of(texts.cbegin(), texts.cend(), [&](const QString &text) {
        return metrics.horizontalAdvance(text) <= room.width();
    });
}

QFont fittedFont(const QFont &font, const QStringList &texts, QSize room) {
    const bool inPoints = font.pointSizeF() > 0;
    const double step = inPoints ? 0.25 : 1.0;
    const double original = inPoints ? font.pointSizeF() : font.pixelSize();
    if (original <= step || texts.isEmpty())
        return font;

    // Measuring a text is the costly part, so each is measured once in the control's own font,
    // and a smaller size is first tried on the text that was widest in it: that one fails
    // first, and only a size it passes is checked against every text.
    const QFontMetrics metrics(font);
    QList<int> widths;
    widths.reserve(texts.size());
    for (const QString &text : texts)
        widths << metrics.horizontalAdvance(text);
    const auto widest = std::max_element(widths.cbegin(), widths.cend()) - widths.cbegin();
    if (metrics.height() <= room.height() && widths[widest] <= room.width())
        return font;
    const QStringList widestText{texts[widest]};
    const auto fits = [&](double size) {
        const QFont candidate = sized(font, inPoints, size);
        return textsFit(candidate, widestText, room) && textsFit(candidate, texts, room);
    };

    // Text width and line height grow about in proportion to the size: start from that
    // estimate and correct it by single steps for hinting and rounding.
    const double ratio = std::min(double(room.width()) / std::max(widths[widest], 1),
                                  double(room.height()) / std::max(metrics.height(), 1));
    double size = std::clamp(std::floor(original * ratio / step) * step, step, original - step);
    while (size > step && !fits(size))
        size -= step;
    while (size + step < original && fits(size + step))
        size += step;
    return sized(font, inPoints, size);
}

void fitGroup(const QList<QWidget *> &group, const QStringList &texts) {
    if (group.isEmpty())
        return;
    // Controls of one kind have the same size and style; the smallest room among them serves all.
    const auto sharedRoom = [&group] {
        QSize room = textRoom(group.front());
        for (const QWidget *control : group)
            room = room.boundedTo(textRoom(control));
        return room;
    };
    for (QWidget *control : group)
        if (auto *label = qobject_cast<QLabel *>(control);
            label && label->indent() < 0 && label->frameWidth() == 0)
            // A plain label starts its text at its very edge.
            label->setIndent(clearance);
    const QFont own = group.front()->font();
    if (const QSize room = sharedRoom(); !room.isValid() || textsFit(own, texts, room))
        return;
    for (QWidget *control : group)
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            // The frame keeps the text off the edge; Qt's inner margin on top of it is the first
            // thing to give up, before any point of the font. Text aligned right also gives up
            // one of the two pixels Qt keeps after it: one stays clear, as on the left.
            const int end = box->alignment() & Qt::AlignRight ? lineEditEndGap : 0;
            const QMargins margins = box->textMargins();
            box->setTextMargins(margins.left() - lineEditInnerMargin, margins.top(),
                                margins.right() - lineEditInnerMargin - end, margins.bottom());
        }
    const QFont font = fittedFont(own, texts, sharedRoom());
    for (QWidget *control : group)
        if (font != control->font())
            control->setFont(font);
}
