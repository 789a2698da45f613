#pragma once

#include "ChannelBar.h"
#include "ChannelEditing.h"
#include "ColourCommands.h"
#include "ColourEditing.h"
#include "CompareCommand.h"
#include "EditHistory.h"
#include "EditorState.h"
#include "EditorView.h"
#include "GridMenu.h"
#include "HistoryHandlers.h"
#include "PaletteExchange.h"
#include "PaletteGrid.h"
#include "PointerHandlers.h"
#include "RangeCommands.h"
#include "SpreadHandlers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <functional>

// The editor window: the grid, one bar and read-out per channel, the class read-out and the
// buttons, all at fixed places. It routes the grid's and the bars' events to their handlers.
class Terrain : public QWidget, public EditorView {
    Q_OBJECT

public:
    explicit Terrain(EditorState &state, QWidget *parent = nullptr);
    ~Terrain() override;

    ChannelBar *bar(int channel) const;
    QLineEdit *channelText(int channel) const;
    const EditHistory &history() const { return m_history; }
    // Asked when the close box is pressed; false keeps the window open and changes nothing.
    void setCloseGuard(std::function<bool()> mayClose) { m_mayClose = std::move(mayClose); }
    // The palette file as last loaded or saved, 768 bytes.
    void setSavedPalette(const QList<QRgb> &colours) { m_compare.setSavedPalette(colours); }
    const GridMenu &gridMenu() const { return m_gridMenu; }

    // EditorView
    void setBarValue(int channel, int value) override;
    void setChannelText(int channel, const QString &text) override;
    void setClassText(const QString &text) override;
    void setSpreadEnabled(bool enabled) override;
    void activateFill() override;

    PaletteGrid *const pic;
    ChannelBar *const v1;
    QLineEdit *const t1;
    QLineEdit *const t2;
    ChannelBar *const v2;
    QLineEdit *const t3;
    ChannelBar *const v3;
    QLabel *const Label1;
    QLabel *const Label2;
    QLabel *const Label3;
    QPushButton *const spr;
    QPushButton *const doi;
    QPushButton *const sav;
    QPushButton *const ex;
    QLineEdit *const ty;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void bindEvents();
    void showSpreadArmed();

    PointerHandlers m_pointer;
    EditHistory m_history;
    ChannelEditing m_channels;
    SpreadHandlers m_spread;
    HistoryHandlers m_historyKeys;
    ColourEditing m_colourEditing;
    ColourCommands m_colours;
    RangeCommands m_ranges;
    CompareCommand m_compare;
    PaletteExchange m_exchange;
    GridMenu m_gridMenu;
    const EditorState &m_state;
    std::function<bool()> m_mayClose;
};
