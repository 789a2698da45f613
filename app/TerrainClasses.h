#pragma once

#include "EditorState.h"

// Gives every entry 1..256 the name of the terrain class its position stands for.
// Element 0 is left alone.
void fillTerrainNames(TerrainNames &terrainNames);
