#include "Terrain.h"

#include "ControlPlacement.h"
#include "FocusFrame.h"
#include "HistoryKeys.h"
#include "ProgramEnd.h"

#include <QCloseEvent>

namespace {

QLineEdit *readout(QWidget *parent, const char *name, QRect geometry, const QString &text,
                   Qt::Alignment alignment) {
    // Read-outs only: the program writes them and never reads them back.
    auto *box = place(new QLineEdit(text, parent), name, geometry);
    box->setAlignment(alignment);
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

// The history is destroyed before Qt deletes this window's child windows, and clearing it
// announces a new index: nobody may be told of that any more, as the window telling them is
// half gone.
Terrain::~Terrain() { QObject::disconnect(&m_history.stack(), nullptr, nullptr, nullptr); }

Terrain::Terrain(EditorState &state, QWidget *parent)
    : QWidget(parent), pic(place(new PaletteGrid(this), "pic", {8, 8, 256, 256})),
      v1(place(new ChannelBar(this), "v1", {296, 24, 9, 177})),
      t1(readout(this, "t1", {312, 88, 25, 19}, QStringLiteral("255"), Qt::AlignRight)),
      t2(readout(this, "t2", {360, 88, 25, 19}, QStringLiteral("255"), Qt::AlignRight)),
      v2(place(new ChannelBar(this), "v2", {344, 24, 9, 177})),
      t3(readout(this, "t3", {408, 88, 25, 19}, QStringLiteral("255"), Qt::AlignRight)),
      v3(place(new ChannelBar(this), "v3", {392, 24, 9, 177})),
      Label1(place(new QLabel(QStringLiteral("Red"), this), "Label1", {296, 8, 33, 17})),
      Label2(place(new QLabel(QStringLiteral("Green"), this), "Label2", {344, 8, 33, 17})),
      Label3(place(new QLabel(QStringLiteral("Blue"), this), "Label3", {392, 8, 33, 17})),
      spr(commandButton(this, "spr", QStringLiteral("Spread"), {272, 240, 49, 25})),
      doi(commandButton(this, "doi", QStringLiteral("Command1"), {424, 48, 9, 17})),
      sav(commandButton(this, "sav", QStringLiteral("Save"), {328, 240, 49, 25})),
      ex(commandButton(this, "ex", QStringLiteral("Exit"), {384, 240, 49, 25})),
      ty(readout(this, "ty", {272, 208, 161, 25}, QString(), Qt::AlignCenter)),
      m_pointer(state, *pic, *this), m_history(state.palette),
      m_channels(state, *pic, *this, m_history), m_spread(state, *pic, m_history),
      m_historyKeys(state, *pic, m_pointer, m_history),
      m_colourEditing(state, m_history, m_historyKeys),
      m_colours(state, *pic, m_colourEditing, *this), m_ranges(state, *pic, m_colourEditing, *this),
      m_compare(state, m_colourEditing, m_historyKeys, m_history, *this),
      m_exchange(state, m_colourEditing, *this),
      m_gridMenu(state, *pic, *this, {&m_colours, &m_ranges, &m_compare, &m_exchange}),
      m_state(state) {
    setObjectName(QStringLiteral("Terrain"));
    setWindowTitle(QStringLiteral("Terrain Palette Editor"));
    // Resizable, but nothing is laid out: the controls keep their places.
    resize(439, 272);

    QFont classFont(QStringLiteral("System"));
    classFont.setPointSizeF(9.75);
    classFont.setWeight(QFont::Bold);
    ty->setFont(classFont);

    spr->setEnabled(false);
    // Stays pressed while armed, so the user sees that the next click fills.
    spr->setCheckable(true);
    // The fill trigger is never seen and never takes input; the second pick activates it.
    doi->setEnabled(false);
    doi->hide();

    pic->setAccessibleName(QStringLiteral("Palette grid"));
    v1->setAccessibleName(QStringLiteral("Red"));
    v2->setAccessibleName(QStringLiteral("Green"));
    v3->setAccessibleName(QStringLiteral("Blue"));
    t1->setAccessibleName(QStringLiteral("Red value"));
    t2->setAccessibleName(QStringLiteral("Green value"));
    t3->setAccessibleName(QStringLiteral("Blue value"));
    ty->setAccessibleName(QStringLiteral("Terrain class"));

    QWidget *const tabOrder[] = {pic, v1, t1, t2, v2, t3, v3, spr, doi, sav, ex, ty};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    pic->setFocus();
    // The grid's colours fill all of it, so its focus shows in the margin around it.
    new FocusFrame(pic);

    bindEvents();
    bindHistoryKeys(*this, m_historyKeys);
}

void Terrain::bindEvents() {
    connect(pic, &PaletteGrid::pointerMoved, this,
            [this](float x, float y) { m_pointer.mouseMove(x, y); });
    connect(pic, &PaletteGrid::clicked, this, [this] { m_pointer.click(); });
    for (int channel = redChannel; channel <= blueChannel; ++channel) {
        connect(bar(channel), &ChannelBar::changed, this,
                [this, channel](int value) { m_channels.change(channel, value); });
        connect(bar(channel), &ChannelBar::scrolled, this,
                [this, channel](int value) { m_channels.scroll(channel, value); });
    }
    // A click toggles a checkable button on its own; Spread pressed again stays armed.
    connect(spr, &QPushButton::clicked, this, [this] {
        m_spread.spreadClick();
        showSpreadArmed();
    });
    connect(doi, &QPushButton::clicked, this, [this] {
        m_spread.fillClick();
        showSpreadArmed();
    });
}

ChannelBar *Terrain::bar(int channel) const {
    return channel == redChannel ? v1 : channel == greenChannel ? v2 : v3;
}

QLineEdit *Terrain::channelText(int channel) const {
    return channel == redChannel ? t1 : channel == greenChannel ? t2 : t3;
}

void Terrain::setBarValue(int channel, int value) { bar(channel)->setChannelValue(value); }

void Terrain::setChannelText(int channel, const QString &text) {
    channelText(channel)->setText(text);
}

void Terrain::setClassText(const QString &text) { ty->setText(text); }

void Terrain::setSpreadEnabled(bool enabled) { spr->setEnabled(enabled); }

void Terrain::showSpreadArmed() { spr->setChecked(m_state.isSpreadArmed()); }

void Terrain::activateFill() {
    // A disabled, hidden button ignores click(), so its signal is raised directly.
    emit doi->clicked();
}

void Terrain::closeEvent(QCloseEvent *event) {
    if (m_mayClose && !m_mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}
