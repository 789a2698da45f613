#include "EditHistory.h"

#include "ChannelChangeStep.h"
#include "EntryColourStep.h"
#include "GradientFillStep.h"

EditHistory::EditHistory(Palette &palette) : m_palette(palette) {}

void EditHistory::recordChange(int entry, int channel, const PaletteStep::Row &before) {
    if (m_palette[entry] == before)
        return;
    m_stack.push(
        new ChannelChangeStep(m_palette, entry, channel, before, m_palette[entry], m_runOpen));
    m_runOpen = true;
}

void EditHistory::recordFill(const Palette &before) {
    auto *step = new GradientFillStep(m_palette, before);
    if (step->changesNothing()) {
        delete step;
        return;
    }
    m_stack.push(step);
    m_runOpen = true;
}

void EditHistory::recordColour(int entry, const PaletteStep::Row &before) {
    if (m_palette[entry] == before)
        return;
    m_stack.push(new EntryColourStep(m_palette, entry, before, m_palette[entry]));
    // The next bar change starts a step of its own, even on the same entry and channel.
    m_runOpen = false;
}

bool EditHistory::recordPalette(const Palette &before) {
    auto *step = new PaletteStep(m_palette, before);
    if (step->changesNothing()) {
        delete step;
        return false;
    }
    m_stack.push(step);
    // As after a single colour: the next bar change starts a step of its own.
    m_runOpen = false;
    return true;
}

bool EditHistory::undo() {
    if (!m_stack.canUndo())
        return false;
    m_runOpen = false;
    m_stack.undo();
    return true;
}

bool EditHistory::redo() {
    if (!m_stack.canRedo())
        return false;
    m_runOpen = false;
    m_stack.redo();
    return true;
}
