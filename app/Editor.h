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
    // Save as the button does it; true once the file holds the palette.
    bool save();
    // Asked by the close box: true when nothing unsaved would be lost.
    bool mayClose();
    bool unsaved() const;
    void showUnsaved();
    void takeAsSaved(qint64 fileSize);

    EditorState m_state;
    // What the file held when last loaded or saved: the 768 palette bytes and its size then.
    QByteArray m_savedBytes;
    qint64 m_savedSize = -1;
    Terrain m_terrain;
    Diaload m_diaload;
};

// The palette file's name, appended to the folder the user picks.
inline constexpr char paletteFileName[] = "europe.act";
