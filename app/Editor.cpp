#include "Editor.h"

#include "DiskCheck.h"
#include "PaletteColours.h"
#include "PaletteFile.h"
#include "ProgramEnd.h"
#include "TerrainClasses.h"
#include "UserMessages.h"
#include "WindowFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>

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
    // Every step taken, merged, undone or redone passes through the history's index.
    QObject::connect(&m_terrain.history().stack(), &QUndoStack::indexChanged, &m_terrain,
                     [this] { showUnsaved(); });
    m_terrain.setCloseGuard([this] { return mayClose(); });
#if QT_CONFIG(sessionmanager)
    // Logging out closes the editor as its close box does, where the session lets it ask.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &m_terrain,
                     [this](QSessionManager &manager) {
                         if (!m_terrain.isVisible() || !unsaved() || !manager.allowsInteraction())
                             return;
                         if (!m_terrain.close())
                             manager.cancel();
                         manager.release();
                     });
#endif
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
    qint64 fileSize = 0;
    if (const QString error = loadPalette(m_state.paletteFilePath, m_state.palette, &fileSize);
        !error.isEmpty()) {
        // Nothing was loaded; the dialog stays for another choice.
        showError(&m_diaload, error);
        return;
    }
    takeAsSaved(fileSize);
    m_terrain.setWindowTitle(
        QStringLiteral("%1[*] \u2014 %2")
            .arg(QFileInfo(m_state.paletteFilePath).fileName(), m_terrain.windowTitle()));
    fitEditorFonts(m_terrain, m_state.terrainNames);
    m_terrain.pic->redrawGrid(m_state.palette);
    m_terrain.show();
    m_terrain.setEnabled(true);
    m_diaload.hide();
    m_diaload.setEnabled(true);
}

void Editor::saveClick() { save(); }

bool Editor::save() {
    const QString &path = m_state.paletteFilePath;
    // Another program's change is written over only when the user says so. A file that can no
    // longer be read to compare is saved as always; saving says what is wrong with it. The
    // answer holds for what the file held when asked: where it changed while the question was
    // open, it is looked at afresh.
    PaletteFileStart asked = readPaletteStart(path);
    for (DiskCheck check = checkDisk(asked, m_savedBytes, m_savedSize);
         check == DiskCheck::changed || check == DiskCheck::removed;
         check = checkDisk(asked, m_savedBytes, m_savedSize)) {
        const QString text =
            QStringLiteral("%1 was %2 by another program since it was opened or last saved.\n\n"
                           "Save the palette as it is in the editor?")
                .arg(QDir::toNativeSeparators(path), check == DiskCheck::changed
                                                         ? QStringLiteral("changed")
                                                         : QStringLiteral("removed"));
        if (askQuestion(&m_terrain, {text, {Answer::save, Answer::cancel}, Answer::cancel}) !=
            Answer::save)
            return false;
        const PaletteFileStart now = readPaletteStart(path);
        if (sameStart(now, asked))
            break;
        asked = now;
    }
    // A failed save keeps every edit; the user can fix the cause and save again. Where the bytes
    // reached the file but may not outlast a power cut, the file holds them all the same.
    bool written = false;
    const QString error = savePalette(path, m_state.palette, &written);
    if (written)
        takeAsSaved(paletteFileSize);
    if (!error.isEmpty())
        showError(&m_terrain, error);
    return error.isEmpty();
}

bool Editor::mayClose() {
    if (!unsaved())
        return true;
    const QString text = QStringLiteral("%1 has changes that are not saved.\n\n"
                                        "Save them before closing?")
                             .arg(QDir::toNativeSeparators(m_state.paletteFilePath));
    switch (askQuestion(&m_terrain,
                        {text, {Answer::save, Answer::discard, Answer::cancel}, Answer::save})) {
    case Answer::save:
        return save();
    case Answer::discard:
        return true;
    default:
        return false;
    }
}

bool Editor::unsaved() const {
    // Nothing is loaded before OK, so nothing can be lost.
    return !m_savedBytes.isEmpty() && paletteBytes(m_state.palette) != m_savedBytes;
}

void Editor::showUnsaved() { m_terrain.setWindowModified(unsaved()); }

void Editor::takeAsSaved(qint64 fileSize) {
    m_savedBytes = paletteBytes(m_state.palette);
    m_savedSize = fileSize;
    m_terrain.setSavedPalette(entryColours(m_state.palette, firstEntry, lastEntry));
    showUnsaved();
}
