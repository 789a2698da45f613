#pragma once

#include <QString>

// What the grid, channel and spread handlers may do to the editor window's controls.
// The editor window implements it; the handlers never see a widget other than the grid.
class EditorView {
public:
    virtual ~EditorView() = default;

    // Sets the bar of channel 1..3. Runs that bar's change handler before it returns,
    // but only when the value actually changes.
    virtual void setBarValue(int channel, int value) = 0;
    virtual void setChannelText(int channel, const QString &text) = 0;
    virtual void setClassText(const QString &text) = 0;
    virtual void setSpreadEnabled(bool enabled) = 0;
    // Activates the hidden fill trigger; its handler has finished when this returns.
    virtual void activateFill() = 0;
};
