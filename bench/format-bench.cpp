// Times reading and writing a 256-colour palette file in each format the editor exchanges:
// reading is the whole readPaletteFile (open, read, recognise, decode), writing is making the
// bytes and writing them to a file. Each figure is the median over repetitions and is printed
// with the goal it is judged by.

#include "MedianCollector.h"
#include "PaletteFormats.h"
#include "TerrainClasses.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int repetitions = 15;
constexpr double goal = 5000; // microseconds

const std::pair<const char *, PaletteFormat> formats[] = {
    {"GIMP palette", PaletteFormat::gimp},           {"JASC palette", PaletteFormat::jasc},
    {"Microsoft palette", PaletteFormat::microsoft}, {"hex colour list", PaletteFormat::hexList},
    {"colour table", PaletteFormat::colourTable},    {"PNG image", PaletteFormat::png}};

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[]) {
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    TerrainNames names;
    fillTerrainNames(names);
    QList<QRgb> colours;
    for (int n = 0; n < 256; ++n)
        colours << qRgb(n, 255 - n, n * 7 % 256);

    for (const auto &[name, format] : formats) {
        const QString path = folder.filePath(name);
        if (!writeFile(path, writePaletteBytes(colours, format, names))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        benchmark::RegisterBenchmark((std::string("read ") + name).c_str(),
                                     [path](benchmark::State &run) {
                                         for (auto _ : run)
                                             if (readPaletteFile(path).colours.size() != 256)
                                                 run.SkipWithError("the file does not read");
                                     })
            ->Repetitions(repetitions)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            (std::string("write ") + name).c_str(),
            [path, format = format, &colours, &names](benchmark::State &run) {
                for (auto _ : run)
                    if (!writeFile(path, writePaletteBytes(colours, format, names)))
                        run.SkipWithError("the file cannot be written");
            })
            ->Repetitions(repetitions)
            ->Unit(benchmark::kMicrosecond);
    }

    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    std::printf("palette formats, 256 colours, median of %d repetitions, processor time:\n",
                repetitions);
    for (const auto &[name, format] : formats)
        for (const char *way : {"read", "write"}) {
            const double time = collector.medians[std::string(way) + ' ' + name];
            std::printf("%s %s: %.1f us (goal under 5 ms) %s\n", way, name, time,
                        time < goal ? "OK" : "MISSED");
        }
    return 0;
}
