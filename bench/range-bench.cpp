// Times the Adjust dialog's preview of all 256 entries through the real widgets (offscreen), and
// checks that every one of the 16,777,216 colours comes back exactly from Adjust's start values.
// Each figure is printed with the goal it is judged by.

#include "CellCentre.h"
#include "Editor.h"
#include "MedianCollector.h"
#include "PaletteFile.h"
#include "RangeOperations.h"
#include "TerrainClasses.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QSpinBox>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int repetitions = 15;

// The editor with the demo palette, entry 1 selected and the Adjust dialog open for 1..256, as
// a right click on entry 256 and "Adjust colours…" leave it; its focused box is the hue.
QSpinBox *openAdjust(Editor &editor) {
    fillTerrainNames(editor.state().terrainNames);
    const QString path = QStringLiteral(TPE_SOURCE_DIR "/examples/demo/europe.act");
    if (const QString error = loadPalette(path, editor.state().palette); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    PaletteGrid *const pic = editor.terrain().pic;
    pic->redrawGrid(editor.state().palette);
    editor.terrain().show();
    editor.terrain().setEnabled(true);
    QCoreApplication::processEvents();
    emit pic->pointerMoved(centreOf(1).x(), centreOf(1).y());
    emit pic->clicked();
    QContextMenuEvent request(QContextMenuEvent::Mouse, centreOf(256),
                              pic->mapToGlobal(centreOf(256)));
    QApplication::sendEvent(pic, &request);
    QMenu *const menu = editor.terrain().gridMenu().menu();
    for (QAction *item : menu->actions())
        if (item->text().startsWith(QStringLiteral("&Adjust")))
            item->trigger();
    menu->hide();
    QCoreApplication::processEvents();
    auto *const dialog = editor.terrain().findChild<QDialog *>();
    if (!dialog || dialog->windowTitle() != QStringLiteral("Adjust entries 1\u2013256"))
        qFatal("the Adjust dialog did not open for entries 1 to 256");
    return qobject_cast<QSpinBox *>(dialog->focusWidget());
}

// Each figure is the median over repetitions of a timed loop, in microseconds of the thread's
// processor time.
void registerPreview(QSpinBox *hue) {
    for (const bool repaint : {false, true})
        benchmark::RegisterBenchmark(repaint ? "preview repainted" : "preview",
                                     [hue, repaint](benchmark::State &run) {
                                         for (auto _ : run) {
                                             // A change every time: each one previews.
                                             hue->setValue(hue->value() == 10 ? 20 : 10);
                                             if (repaint)
                                                 QCoreApplication::processEvents();
                                         }
                                     })
            ->Repetitions(repetitions)
            ->MinTime(0.1)
            ->Unit(benchmark::kMicrosecond);
}

// How many of all colours do not come back from the start values.
long long coloursNotBack() {
    long long differ = 0;
    QList<QRgb> colours(65536);
    for (QRgb blue = 0; blue < 256; ++blue) {
        for (QRgb i = 0; i < 65536; ++i)
            colours[i] = qRgb(i & 0xff, i >> 8, blue);
        const QList<QRgb> back = adjustColours(colours, 0, 100, 0);
        for (QRgb i = 0; i < 65536; ++i)
            differ += back[i] != colours[i];
    }
    return differ;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    Editor editor;
    QSpinBox *const hue = openAdjust(editor);
    registerPreview(hue);
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    auto &m = collector.medians;
    std::printf(
        "range tools, median of %d repetitions, processor time, real widgets (offscreen):\n",
        repetitions);
    std::printf("Adjust preview of 256 entries: %.1f us (goal < 2000 us) %s; with the widget "
                "repaints it causes %.1f us\n",
                m["preview"], m["preview"] < 2000 ? "OK" : "MISSED", m["preview repainted"]);

    QElapsedTimer timer;
    timer.start();
    const long long differ = coloursNotBack();
    std::printf("all 16,777,216 colours through Adjust's start values: %lld come back different "
                "(goal 0) %s, in %lld ms\n",
                differ, differ == 0 ? "OK" : "MISSED", static_cast<long long>(timer.elapsed()));
    return 0;
}
