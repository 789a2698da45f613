// Saves palettes to one file for ever (or a given number of times), numbered from a starting
// number, announcing each save on standard output before it starts. The crash-safe saving test
// kills it at random moments; the palette file test saves with it as another user.
//
// usage: save-loop <file> <first number> [<saves>]

#include "NumberedPalette.h"
#include "PaletteFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char *argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: save-loop <file> <first number> [<saves>]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const std::uint32_t first = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const unsigned long saves = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 0;
    for (std::uint32_t number = first; saves == 0 || number - first < saves; ++number) {
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
    return 0;
}
