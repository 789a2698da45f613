#pragma once

#include "Diaload.h"
#include "EditorState.h"
#include "Terrain.h"

// Decided once at start-up, before either window shows: every caption and read-out whose widest
// text does not fit its fixed box in the font it gets gets a font just small enough to fit.
// Controls that fit keep their font.
void fitWindowFonts(Terrain &terrain, Diaload &dialog, const TerrainNames &terrainNames);
