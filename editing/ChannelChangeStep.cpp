#include "ChannelChangeStep.h"

ChannelChangeStep::ChannelChangeStep(Palette &palette, int entry, int channel, const Row &before,
                                     const Row &after, bool joinsRun)
    : PaletteStep(palette, {{entry, before, after}}), m_entry(entry), m_channel(channel),
      m_joinsRun(joinsRun) {}

// Any id but -1 lets the stack offer merges; a fill keeps -1 and never merges.
int ChannelChangeStep::id() const { return 1; }

bool ChannelChangeStep::mergeWith(const QUndoCommand *other) {
    // The stack only offers commands with the same id, which are all channel changes.
    const auto *next = static_cast<const ChannelChangeStep *>(other);
    if (!next->m_joinsRun || next->m_entry != m_entry || next->m_channel != m_channel)
        return false;
    // A run that comes back to where it began stays a step: it is never marked obsolete, which
    // would make the stack drop it.
    m_edits.front().after = next->m_edits.front().after;
    return true;
}
