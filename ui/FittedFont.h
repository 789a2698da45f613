#pragma once

#include <QFont>
#include <QList>
#include <QSize>
#include <QStringList>

class QWidget;

// Fitting a caption or read-out into a control of fixed size: the room the control's style leaves
// for its text, and the largest font, no larger than the one the control has, in which every text
// the control will ever show fits that room.

// The room for text inside a label, line edit or push button, as its style and Qt's own margins
// leave it, less a pixel kept clear on each side; an empty size for any other kind of control.
QSize textRoom(const QWidget *control);

// True when every text, set in the font, fits the room in width and in line height.
bool textsFit(const QFont &font, const QStringList &texts, QSize room);

// The font itself when the texts fit; otherwise the same font at the largest size, in quarter
// points (or whole pixels for a font sized in pixels), at which they do.
QFont fittedFont(const QFont &font, const QStringList &texts, QSize room);

// Gives a group of like controls side by side (same kind, size and style) one font: their own
// where every text of every member fits, otherwise the fitted one; read-outs first give up Qt's
// inner text margin, so that their font shrinks less.
void fitGroup(const QList<QWidget *> &group, const QStringList &texts);
