#include "ExportNaming.h"

#include <array>

namespace {

struct ExportType {
    const char *filter;
    const char *ending;
    PaletteFormat format;
};

constexpr std::array<ExportType, 6> types{{
    {"GIMP palette (*.gpl)", ".gpl", PaletteFormat::gimp},
    {"JASC palette (*.pal)", ".pal", PaletteFormat::jasc},
    {"Microsoft palette (*.pal)", ".pal", PaletteFormat::microsoft},
    {"Hex colour list (*.hex)", ".hex", PaletteFormat::hexList},
    {"Colour table (*.act)", ".act", PaletteFormat::colourTable},
    {"PNG image (*.png)", ".png", PaletteFormat::png},
}};

} // namespace

QStringList exportFilters() {
    QStringList filters;
    for (const ExportType &type : types)
        filters.append(QLatin1String(type.filter));
    return filters;
}

ExportTarget exportTarget(const QString &typedPath, int filter) {
    const ExportType &chosen = types[filter >= 0 && filter < int(types.size()) ? filter : 0];
    // Looked at without regard to case: "GRASS.GPL" is a GIMP palette too.
    if (typedPath.endsWith(QLatin1String(".pal"), Qt::CaseInsensitive))
        return {typedPath, chosen.format == PaletteFormat::microsoft ? PaletteFormat::microsoft
                                                                     : PaletteFormat::jasc};
    for (const ExportType &type : types)
        if (type.format != PaletteFormat::jasc && type.format != PaletteFormat::microsoft &&
            typedPath.endsWith(QLatin1String(type.ending), Qt::CaseInsensitive))
            return {typedPath, type.format};
    return {typedPath + QLatin1String(chosen.ending), chosen.format};
}
