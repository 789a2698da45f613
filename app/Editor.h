#pragma once

#include "Diaload.h"
#include "EditorState.h"
#include "Terrain.h"

// The program: its state, both windows, and the handlers of start-up, the folder dialog,
// Save and Exit.
class Editor {
public:
    Editor();

    // Start-up: fills the terrain classes, shows the folder dialog, keeps the editor hidden.
    void formLoad();

    EditorState &state() { return m_state; }
    Terrain &terrain() { return m_terrain; }
    Diaload &diaload() { return m_diaload; }

private:
    void driveChange(const QString &root);
    void folderCheck();
    void okClick();
    void saveClick();

    EditorState m_state;
    Terrain m_terrain;
    Diaload m_diaload;
};

// The palette file's name, appended to the folder the user picks.
inline constexpr char paletteFileName[] = "europe.act";
