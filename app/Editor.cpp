#include "Editor.h"

#include "PaletteFile.h"
#include "ProgramEnd.h"
#include "TerrainClasses.h"
#include "UserMessages.h"
#include "WindowFonts.h"

#include <QDir>
#include <QFileInfo>

Editor::Editor() : m_terrain(m_state) {
    QObject::connect(m_diaload.Drive1, &DriveList::driveChanged, &m_diaload,
                     [this](const QString &root) { driveChange(root); });
    QObject::connect(m_diaload.Dir1, &DirectoryList::pathChanged, &m_diaload,
                     [this] { folderCheck(); });
    // The drive list names the drive of the folder shown, without moving the folder list.
    m_diaload.Drive1->follow(m_diaload.Dir1->path());
    QObject::connect(m_diaload.Dir1, &DirectoryList::pathChanged, m_diaload.Drive1,
                     &DriveList::follow);
    QObject::connect(m_diaload.OKButton, &QPushButton::clicked, &m_diaload, [this] { okClick(); });
    QObject::connect(m_diaload.CancelButton, &QPushButton::clicked, &m_diaload, endProgram);
    QObject::connect(m_terrain.sav, &QPushButton::clicked, &m_terrain, [this] { saveClick(); });
    QObject::connect(m_terrain.ex, &QPushButton::clicked, &m_terrain, endProgram);
}

void Editor::formLoad() {
    fillTerrainNames(m_state.terrainNames);
    fitDialogFonts(m_diaload);
    m_diaload.setEnabled(true);
    m_diaload.show();
    m_terrain.setEnabled(false);
    m_terrain.hide();
}

void Editor::driveChange(const QString &root) { m_diaload.Dir1->setPath(root); }

void Editor::folderCheck() {
    const QString folder = QDir::toNativeSeparators(m_diaload.Dir1->path());
    // At a root the folder already ends in a separator; a second one would only look odd.
    const QString separator = folder.endsWith(QDir::separator()) ? QString() : QDir::separator();
    m_state.candidatePath = folder + separator + QLatin1String(paletteFileName);
    // A folder named like the palette does not count.
    if (QFileInfo(m_state.candidatePath).isFile()) {
        m_diaload.OKButton->setEnabled(true);
        m_state.paletteFilePath = m_state.candidatePath;
    } else {
        m_diaload.OKButton->setEnabled(false);
    }
}

void Editor::okClick() {
    if (const QString error = loadPalette(m_state.paletteFilePath, m_state.palette);
        !error.isEmpty()) {
        // Nothing was loaded; the dialog stays for another choice.
        showError(&m_diaload, error);
        return;
    }
    fitEditorFonts(m_terrain, m_state.terrainNames);
    m_terrain.pic->redrawGrid(m_state.palette);
    m_terrain.show();
    m_terrain.setEnabled(true);
    m_diaload.hide();
    m_diaload.setEnabled(true);
}

void Editor::saveClick() {
    // A failed save keeps every edit; the user can fix the cause and save again.
    if (const QString error = savePalette(m_state.paletteFilePath, m_state.palette);
        !error.isEmpty())
        showError(&m_terrain, error);
}
