#pragma once

#include "PaletteStep.h"

// A bar change of one channel of one entry. Consecutive changes of the same channel of the same
// entry join into one step, so holding an arrow down is undone at once.
class ChannelChangeStep : public PaletteStep {
public:
    // joinsRun: whether this change may join the step recorded just before it.
    ChannelChangeStep(Palette &palette, int entry, int channel, const Row &before, const Row &after,
                      bool joinsRun);

    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    int m_entry;
    int m_channel;
    bool m_joinsRun;
};
