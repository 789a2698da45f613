#pragma once

#include "Editor.h"
#include "ProgramEnd.h"
#include "TestFiles.h"
#include "UserMessages.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

// Start-up as a user goes: folder set in the dialog, OK pressed; false if no editor window opens.
inline bool openThroughDialog(Editor &editor, const QString &folder) {
    editor.formLoad();
    editor.diaload().Dir1->setPath(folder);
    QTest::mouseClick(editor.diaload().OKButton, Qt::LeftButton);
    return editor.terrain().isVisible() && QTest::qWaitForWindowActive(&editor.terrain());
}

// An editor that went through start-up as a user would: the folder dialog pointed at a
// folder holding the given palette, OK pressed, the editor window shown and exposed.
class LoadedEditor {
public:
    LoadedEditor() {
        // Neither a message box nor the end of the event loop may stop a test run.
        m_previousReporter =
            setErrorReporter([this](QWidget *, const QString &text) { errors.append(text); });
        m_previousInformer =
            setInformationReporter([this](QWidget *, const QString &text) { notes.append(text); });
        m_previousEnder = setProgramEnder([this] { ++endRequests; });
        m_previousAsker = setAsker([this](QWidget *, const Question &question) {
            questions.append(question);
            return answers.isEmpty() ? Answer::cancel : answers.takeFirst();
        });
    }
    ~LoadedEditor() {
        setErrorReporter(m_previousReporter);
        setInformationReporter(m_previousInformer);
        setProgramEnder(m_previousEnder);
        setAsker(m_previousAsker);
    }
    LoadedEditor(const LoadedEditor &) = delete;
    LoadedEditor &operator=(const LoadedEditor &) = delete;

    // True once the palette (768 bytes) is loaded and the editor window is active.
    bool load(const QByteArray &paletteBytes) {
        return m_folder.isValid() && writeFile(path(), paletteBytes) &&
               openThroughDialog(editor, m_folder.path()) && errors.isEmpty();
    }

    Terrain &terrain() { return editor.terrain(); }
    EditorState &state() { return editor.state(); }
    PaletteGrid *pic() { return editor.terrain().pic; }
    QString path() const { return m_folder.filePath(QStringLiteral("europe.act")); }

    Editor editor;
    QStringList errors;
    QStringList notes; // what showInformation said
    int endRequests = 0;
    QList<Answer> answers; // one for each question in turn, then Cancel
    QList<Question> questions;

private:
    QTemporaryDir m_folder;
    ErrorReporter m_previousReporter;
    ErrorReporter m_previousInformer;
    ProgramEnder m_previousEnder;
    Asker m_previousAsker;
};

// Events sent straight to a widget, like the ones the window system delivers, but with
// positions that may carry a fraction or lie outside the widget (as during a drag).
inline void sendMouse(QWidget *widget, QEvent::Type type, QPointF position, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void sendMove(QWidget *widget, QPointF position, Qt::MouseButtons held = Qt::NoButton) {
    sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, held);
}

// The centre of an entry's cell, in grid pixels.
inline QPoint centreOfEntry(int entry) {
    return {(entry - 1) % 16 * 16 + 8, (entry - 1) / 16 * 16 + 8};
}

// Where a part of a scroll bar lies, as its style draws it.
inline QRect barPart(const QScrollBar *bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}
