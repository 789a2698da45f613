#pragma once

#include "ColourEditing.h"

#include <QList>
#include <QRgb>
#include <QString>

class QWidget;

// Puts colours into consecutive entries from `first` as one step, as an import or a pasted list
// does. Colours that would go past entry 256 are left out, and then a note says how many were
// `placed` ("imported", "pasted") and how many left out. False when no entry changed.
bool placeColours(ColourEditing &editing, QWidget *parent, int first, const QList<QRgb> &colours,
                  const QString &placed);
