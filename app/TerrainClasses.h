#pragma once

#include "EditorState.h"

#include <QStringView>

#include <array>

// A run of entries that stand for one kind of terrain, both ends included.
struct TerrainClass {
    int first = 0;
    int last = 0;
    QStringView name;
};

// 26 entries each for the close classes, 9 each for the far ones, the rest unknown; in entry order,
// every entry 1..256 in exactly one.
inline constexpr std::array<TerrainClass, 7> terrainClasses{{
    {1, 26, u"Dirt / Road Close"},
    {27, 52, u"Grass Close"},
    {53, 78, u"Sand Close"},
    {79, 87, u"Dirt / Road Far"},
    {88, 96, u"Grass Far"},
    {97, 105, u"Sand Far"},
    {106, 256, u"Unknown"},
}};

// Gives every entry 1..256 the name of the terrain class its position stands for.
// Element 0 is left alone.
void fillTerrainNames(TerrainNames &terrainNames);

// The class of an entry 1..256.
const TerrainClass &terrainClassOf(int entry);
