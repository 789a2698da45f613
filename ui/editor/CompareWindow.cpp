#include "CompareWindow.h"

#include "DialogPlacement.h"
#include "HistoryKeys.h"
#include "PaletteFileChooser.h"
#include "SwatchDelegate.h"
#include "TerrainClasses.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton *button(const QString &text) {
    auto *push = new QPushButton(text);
    // Enter on a row reverts that row once: no button may take Enter as well.
    push->setAutoDefault(false);
    return push;
}

// Fixed column widths, measured once on rows of the widest texts each column can hold: a list
// that sized its columns to its rows would measure every row again at each change.
void sizeColumns(QTreeView &list, ComparisonModel &model) {
    const QFontMetrics metrics = list.fontMetrics();
    int widest = 0;
    for (int digit = 1; digit < 16; ++digit)
        if (metrics.horizontalAdvance(QString::number(digit, 16)) >
            metrics.horizontalAdvance(QString::number(widest, 16)))
            widest = digit;
    const QRgb wide = qRgb(17 * widest, 17 * widest, 17 * widest);
    PaletteComparison prototype{entryCount, {}};
    for (const TerrainClass &terrain : terrainClasses)
        prototype.differences.append({terrain.first, wide, wide});
    prototype.differences.append({lastEntry, wide, wide});
    model.setComparison(prototype);
    list.header()->resizeSections(QHeaderView::ResizeToContents);
    model.setComparison({});
}

} // namespace

CompareWindow::CompareWindow(const EditorState &state, ColourEditing &editing,
                             HistoryHandlers &historyKeys, const EditHistory &history,
                             QWidget &editor)
    : QWidget(&editor, Qt::Window), m_state(state), m_editing(editing), m_editor(editor),
      m_model(state.terrainNames), m_folder(QFileInfo(state.paletteFilePath).absolutePath()) {
    setObjectName(QStringLiteral("Compare"));
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_list = new QTreeView;
    m_list->setObjectName(QStringLiteral("differences"));
    m_list->setAccessibleName(QStringLiteral("Entries that differ"));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    // The focus frame stays on the entry's number: the style's frame across the whole row would
    // tint the swatches of the current row.
    m_list->setAllColumnsShowFocus(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setItemDelegate(new SwatchDelegate(m_list));
    // Square, as high as a line of text: the window must fit beside the editor on a small screen.
    const int swatch = m_list->fontMetrics().height();
    m_list->setIconSize(QSize(swatch, swatch));
    m_list->setModel(&m_model);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(false);
    sizeColumns(*m_list, m_model);
    m_list->installEventFilter(this);

    auto *compareWith = button(QStringLiteral("Compare &with\u2026"));
    m_savedFile = button(QStringLiteral("&Saved file"));
    m_revert = button(QStringLiteral("&Revert entry"));
    m_revertAll = button(QStringLiteral("Revert &all"));
    auto *close = button(QStringLiteral("&Close"));

    auto *references = new QHBoxLayout;
    references->addWidget(compareWith);
    references->addWidget(m_savedFile);
    references->addStretch();
    auto *reverts = new QHBoxLayout;
    reverts->addWidget(m_revert);
    reverts->addWidget(m_revertAll);
    reverts->addStretch();
    reverts->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addLayout(references);
    layout->addLayout(reverts);

    // Wide enough for every column and the scroll bar, so that nothing scrolls sideways.
    int columns = 0;
    for (int column = 0; column < m_model.columnCount(); ++column)
        columns += m_list->header()->sectionSize(column);
    m_list->setMinimumWidth(columns + m_list->verticalScrollBar()->sizeHint().width() +
                            2 * m_list->frameWidth());
    // The last column takes what the scroll bar leaves while it is not needed.
    m_list->header()->setStretchLastSection(true);
    // About as tall as the editor beside it. The layout worked out first, so that placing the
    // window beside the editor knows its true width.
    layout->activate();
    resize(sizeHint().width(), std::max(sizeHint().height(), m_editor.height()));

    connect(compareWith, &QPushButton::clicked, this, [this] { chooseReference(); });
    connect(m_savedFile, &QPushButton::clicked, this, [this] { useSavedFile(); });
    connect(m_revert, &QPushButton::clicked, this, [this] { revertEntry(); });
    connect(m_revertAll, &QPushButton::clicked, this, [this] { revertAll(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    bindHistoryKeys(*this, historyKeys);
    // Every change of the palette, undo and redo included, is a step of the history or moves
    // its index; Save reaches the window through setSavedPalette.
    connect(&history.stack(), &QUndoStack::indexChanged, this, [this] {
        if (isVisible())
            refresh();
    });
    showReference();
}

void CompareWindow::setSavedPalette(const QList<QRgb> &colours) {
    m_saved = colours;
    if (m_referenceName.isEmpty() && isVisible())
        refresh();
}

void CompareWindow::open() {
    if (isVisible()) {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        return;
    }
    refresh();
    if (m_model.rowCount() > 0)
        m_list->setCurrentIndex(m_model.index(0, 0));
    m_list->scrollToTop();
    // Over the small editor window it would hide the cells whose colours it lists.
    placeBesideWindow(*this, m_editor);
    m_list->setFocus();
    show();
    raise();
    activateWindow();
}

const QList<QRgb> &CompareWindow::reference() const {
    return m_referenceName.isEmpty() ? m_saved : m_chosen;
}

void CompareWindow::refresh() {
    const QModelIndex current = m_list->currentIndex();
    const int currentEntry =
        current.isValid() ? m_model.comparison().differences[current.row()].entry : 0;
    m_model.setComparison(comparePalettes(m_state.palette, reference()));
    const QList<EntryDifference> &differences = m_model.comparison().differences;
    if (!m_list->currentIndex().isValid() && !differences.isEmpty()) {
        // The row that was current, else the one that followed it (after a revert), else the
        // last.
        const auto next = std::lower_bound(
            differences.cbegin(), differences.cend(), currentEntry,
            [](const EntryDifference &difference, int entry) { return difference.entry < entry; });
        const int row = next == differences.cend() ? static_cast<int>(differences.size()) - 1
                                                   : static_cast<int>(next - differences.cbegin());
        m_list->setCurrentIndex(m_model.index(row, 0));
    }
    m_summary->setText(comparisonSummary(m_model.comparison()));
    m_revert->setEnabled(!differences.isEmpty());
    m_revertAll->setEnabled(!differences.isEmpty());
}

void CompareWindow::showReference() {
    setWindowTitle(m_referenceName.isEmpty()
                       ? QStringLiteral("Compare with %1 as last saved")
                             .arg(QFileInfo(m_state.paletteFilePath).fileName())
                       : QStringLiteral("Compare with %1").arg(m_referenceName));
    m_savedFile->setEnabled(!m_referenceName.isEmpty());
}

void CompareWindow::chooseReference() {
    // Cancel, or a file that cannot be read, keeps the reference there was.
    const std::optional<ChosenPalette> chosen =
        choosePaletteToRead(this, QStringLiteral("Compare with"), m_folder, entryCount);
    if (!chosen)
        return;
    const QFileInfo file(chosen->path);
    m_folder = file.absolutePath();
    m_referenceName = file.fileName();
    // Colours past entry 256 are left for comparePalettes to ignore.
    m_chosen = chosen->colours;
    showReference();
    refresh();
}

void CompareWindow::useSavedFile() {
    m_referenceName.clear();
    m_chosen.clear();
    showReference();
    refresh();
    m_list->setFocus();
}

void CompareWindow::revertEntry() {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return;
    const EntryDifference difference = m_model.comparison().differences[current.row()];
    m_editing.setColours(difference.entry, {difference.reference});
    // A button pressed to revert keeps the keyboard otherwise, and Enter would press it again
    // instead of reverting the row that is current now.
    m_list->setFocus();
}

void CompareWindow::revertAll() {
    m_editing.setPalette(revertedPalette(m_state.palette, m_model.comparison().differences));
    m_list->setFocus();
}

bool CompareWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            revertEntry();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
