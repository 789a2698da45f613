#include "WindowFonts.h"

#include "FittedFont.h"

void fitDialogFonts(Diaload &dialog) {
    // Measure the controls as they will show, after their style has polished them.
    dialog.ensurePolished();
    for (QPushButton *button : {dialog.OKButton, dialog.CancelButton})
        fitControl(button, {button->text()});
}

void fitEditorFonts(Terrain &terrain, const TerrainNames &terrainNames) {
    terrain.ensurePolished();

    // A digit put in front never makes a number narrower ("1" + "28" is at least as wide as
    // "28"), so the widest value is one of those with three digits.
    QStringList values;
    for (int value = 100; value <= 255; ++value)
        values << QString::number(value);
    // The three read-outs are alike in size, style and font: one fitting, the costliest of
    // all with its many texts, serves them all.
    if (fitControl(terrain.t1, values))
        for (QLineEdit *readout : {terrain.t2, terrain.t3}) {
            readout->setTextMargins(terrain.t1->textMargins());
            if (terrain.t1->testAttribute(Qt::WA_SetFont))
                readout->setFont(terrain.t1->font());
        }

    QStringList classNames(terrainNames.cbegin() + firstEntry, terrainNames.cend());
    classNames.removeDuplicates();
    fitControl(terrain.ty, classNames);

    // Captions never change; the hidden fill trigger is never seen.
    for (QWidget *control : std::initializer_list<QWidget *>{
             terrain.Label1, terrain.Label2, terrain.Label3, terrain.spr, terrain.sav, terrain.ex})
        fitControl(control, {control->property("text").toString()});
}
