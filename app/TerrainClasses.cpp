#include "TerrainClasses.h"

void fillTerrainNames(TerrainNames &terrainNames) {
    // 26 entries each for the close classes, 9 each for the far ones, the rest unknown.
    for (int n = 1; n <= 26; ++n)
        terrainNames[n] = QStringLiteral("Dirt / Road Close");
    for (int n = 27; n <= 52; ++n)
        terrainNames[n] = QStringLiteral("Grass Close");
    for (int n = 53; n <= 78; ++n)
        terrainNames[n] = QStringLiteral("Sand Close");
    for (int n = 79; n <= 87; ++n)
        terrainNames[n] = QStringLiteral("Dirt / Road Far");
    for (int n = 88; n <= 96; ++n)
        terrainNames[n] = QStringLiteral("Grass Far");
    for (int n = 97; n <= 105; ++n)
        terrainNames[n] = QStringLiteral("Sand Far");
    for (int n = 106; n <= 256; ++n)
        terrainNames[n] = QStringLiteral("Unknown");
}
