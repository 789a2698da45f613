#pragma once

#include "Diaload.h"
#include "EditorState.h"
#include "Terrain.h"

// Decided once for each window, before it first shows: every caption and read-out whose widest
// text does not fit its fixed box in the font it gets gets a font just small enough to fit, the
// same for each row of like controls (labels, buttons, read-outs). Controls that fit keep their
// font. The editor window is fitted only when the palette is
// accepted, so that the folder dialog shows without waiting for it.
void fitDialogFonts(Diaload &dialog);
void fitEditorFonts(Terrain &terrain, const TerrainNames &terrainNames);
