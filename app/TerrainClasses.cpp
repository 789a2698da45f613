#include "TerrainClasses.h"

#include <algorithm>

void fillTerrainNames(TerrainNames &terrainNames) {
    for (const TerrainClass &terrainClass : terrainClasses)
        for (int n = terrainClass.first; n <= terrainClass.last; ++n)
            terrainNames[n] = terrainClass.name.toString();
}

const TerrainClass &terrainClassOf(int entry) {
    // The classes lie in entry order, so the first that ends at or after the entry holds it.
    return *std::find_if(terrainClasses.begin(), terrainClasses.end() - 1,
                         [entry](const TerrainClass &c) { return entry <= c.last; });
}
