#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Entry numbers run from 1 to 256; rows 0 and 257 and channel 4 exist but are never used.
constexpr int firstEntry = 1;
constexpr int lastEntry = 256;
constexpr int entryCount = 256;

// Channels of a palette row: 0 packed colour, 1 red, 2 green, 3 blue.
constexpr int packedChannel = 0;
constexpr int redChannel = 1;
constexpr int greenChannel = 2;
constexpr int blueChannel = 3;

using Palette = std::array<std::array<std::int32_t, 5>, 258>;
using TerrainNames = std::array<QString, 257>;

// spreadArmed is a 16-bit flag: True is -1, False is 0, nothing else.
constexpr std::int16_t armedTrue = -1;
constexpr std::int16_t armedFalse = 0;

// Everything the handlers of both windows share. Lives for the whole run.
struct EditorState {
    Palette palette{};
    TerrainNames terrainNames{};
    float pointerX = 0;
    float pointerY = 0;
    int anchorIndex = 0;
    int targetIndex = 0;
    bool anchorSet = false;
    std::int16_t spreadArmed = armedFalse;
    QString paletteFilePath;
    QString candidatePath;

    bool isSpreadArmed() const { return spreadArmed == armedTrue; }
};
