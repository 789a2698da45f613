// Times how long the open Compare window takes to follow one change of the palette, through the
// real widgets (offscreen): a red bar change of entry 1 with the window open, less the same change
// with the window closed. Entries 2 to 256 are reversed first, so the list holds 254 rows. Each
// figure is printed with the goal it is judged by.

#include "CellCentre.h"
#include "CompareWindow.h"
#include "Editor.h"
#include "MedianCollector.h"
#include "PaletteColours.h"
#include "PaletteFile.h"
#include "TerrainClasses.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int repetitions = 15;

void click(PaletteGrid *pic, int entry) {
    emit pic->pointerMoved(centreOf(entry).x(), centreOf(entry).y());
    emit pic->clicked();
}

// Picks the item of the grid's menu opened on `entry` whose text starts with `text`.
void pickFromMenu(Editor &editor, int entry, const QString &text) {
    PaletteGrid *const pic = editor.terrain().pic;
    QContextMenuEvent request(QContextMenuEvent::Mouse, centreOf(entry),
                              pic->mapToGlobal(centreOf(entry)));
    QApplication::sendEvent(pic, &request);
    QMenu *const menu = editor.terrain().gridMenu().menu();
    for (QAction *item : menu->actions())
        if (item->text().startsWith(text))
            item->trigger();
    menu->hide();
    QCoreApplication::processEvents();
}

// The editor with the demo palette as saved, entries 2..256 reversed, entry 1 selected and the
// Compare window open on the saved file.
CompareWindow *openCompare(Editor &editor) {
    fillTerrainNames(editor.state().terrainNames);
    const QString path = QStringLiteral(TPE_SOURCE_DIR "/examples/demo/europe.act");
    editor.state().paletteFilePath = path;
    if (const QString error = loadPalette(path, editor.state().palette); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    editor.terrain().setSavedPalette(entryColours(editor.state().palette, firstEntry, lastEntry));
    PaletteGrid *const pic = editor.terrain().pic;
    pic->redrawGrid(editor.state().palette);
    editor.terrain().show();
    editor.terrain().setEnabled(true);
    QCoreApplication::processEvents();
    click(pic, 2);
    pickFromMenu(editor, 256, QStringLiteral("Re&verse"));
    click(pic, 2);
    click(pic, 1);
    pickFromMenu(editor, 1, QStringLiteral("Co&mpare"));
    auto *const compare = editor.terrain().findChild<CompareWindow *>();
    if (!compare || !compare->isVisible())
        qFatal("the Compare window did not open");
    return compare;
}

// Each figure is the median over repetitions of a timed loop, in microseconds of the thread's
// processor time. "kept": entry 1 goes between two colours unlike the saved one, so its row
// stays; "toggled": between its saved colour and another, so its row comes and goes.
void registerChanges(Editor &editor, CompareWindow *compare) {
    ChannelBar *const red = editor.terrain().v1;
    const int saved = editor.state().palette[1][redChannel];
    const int other = saved == 0 ? 1 : saved - 1;
    const int third = other == 0 ? 2 : other - 1;
    for (const bool open : {false, true})
        for (const bool toggled : {false, true})
            for (const bool repaint : {false, true}) {
                const std::string name = std::string(open ? "open" : "closed") +
                                         (toggled ? " toggled" : " kept") +
                                         (repaint ? " repainted" : "");
                benchmark::RegisterBenchmark(
                    name.c_str(),
                    [=](benchmark::State &run) {
                        compare->setVisible(open);
                        QCoreApplication::processEvents();
                        const int first = toggled ? saved : third;
                        for (auto _ : run) {
                            red->setChannelValue(red->channelValue() == other ? first : other);
                            if (repaint)
                                QCoreApplication::processEvents();
                        }
                    })
                    ->Repetitions(repetitions)
                    ->MinTime(0.1)
                    ->Unit(benchmark::kMicrosecond);
            }
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    Editor editor;
    CompareWindow *const compare = openCompare(editor);
    const int rows = compare->findChild<QTreeView *>()->model()->rowCount();
    registerChanges(editor, compare);
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    auto &m = collector.medians;
    std::printf("Compare window, median of %d repetitions, processor time, real widgets "
                "(offscreen), %d rows listed:\n",
                repetitions, rows);
    for (const char *kind : {"kept", "toggled"}) {
        const double refresh = m[std::string("open ") + kind] - m[std::string("closed ") + kind];
        const double repainted = m[std::string("open ") + kind + " repainted"] -
                                 m[std::string("closed ") + kind + " repainted"];
        std::printf("list refresh after one bar change, row %s: %.1f us (goal < 1000 us) %s; "
                    "with the repaints it causes %.1f us; the change itself %.1f us\n",
                    kind, refresh, refresh < 1000 ? "OK" : "MISSED", repainted,
                    m[std::string("closed ") + kind]);
    }
    return 0;
}
