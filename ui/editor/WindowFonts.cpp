#include "WindowFonts.h"

#include "FittedFont.h"

namespace {

QStringList captions(const QList<QWidget *> &group) {
    QStringList texts;
    for (const QWidget *control : group)
        texts << control->property("text").toString();
    return texts;
}

// Captions side by side read as one row: they share the font that fits the widest of them.
void fitCaptions(const QList<QWidget *> &group) { fitGroup(group, captions(group)); }

} // namespace

void fitDialogFonts(Diaload &dialog) {
    // Measure the controls as they will show, after their style has polished them.
    dialog.ensurePolished();
    fitCaptions({dialog.OKButton, dialog.CancelButton});
}

void fitEditorFonts(Terrain &terrain, const TerrainNames &terrainNames) {
    terrain.ensurePolished();

    // A digit put in front never makes a number narrower ("1" + "28" is at least as wide as
    // "28"), so the widest value is one of those with three digits. The three read-outs are
    // alike in size, style and font: one fitting, the costliest of all with its many texts,
    // serves them all.
    QStringList values;
    for (int value = 100; value <= 255; ++value)
        values << QString::number(value);
    fitGroup({terrain.t1, terrain.t2, terrain.t3}, values);

    QStringList classNames(terrainNames.cbegin() + firstEntry, terrainNames.cend());
    classNames.removeDuplicates();
    fitGroup({terrain.ty}, classNames);

    // Captions never change; the hidden fill trigger is never seen.
    fitCaptions({terrain.Label1, terrain.Label2, terrain.Label3});
    fitCaptions({terrain.spr, terrain.sav, terrain.ex});
}
