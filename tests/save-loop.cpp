// Saves palettes to one file for ever, numbered from a starting number, announcing each save
// on standard output before it starts. The crash-safe saving test kills it at random moments.
//
// usage: save-loop <file> <first number>

#include "NumberedPalette.h"
#include "PaletteFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char *argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: save-loop <file> <first number>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (std::uint32_t number = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));;
         ++number) {
        Palette palette{};
        setPaletteFromBytes(palette, numberedPaletteBytes(number));
        // Unbuffered, so the number is in the pipe before the save begins, even if the save
        // never ends.
        const std::string announcement = std::to_string(number) + '\n';
        if (write(STDOUT_FILENO, announcement.data(), announcement.size()) !=
            static_cast<ssize_t>(announcement.size()))
            return 3;
        if (const QString error = savePalette(path, palette); !error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
}
