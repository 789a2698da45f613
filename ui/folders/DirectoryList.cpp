#include "DirectoryList.h"

#include "FolderIcon.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#endif

namespace {

constexpr int pathRole = Qt::UserRole;

QString folderName(const QDir &dir) {
    const QString name = dir.dirName();
    return dir.isRoot() || name.isEmpty() ? QDir::toNativeSeparators(dir.absolutePath()) : name;
}

// Where the list starts: the folder the program was started in. Where that folder is gone or
// the system cannot name it (an empty or relative answer), the home folder, else the root.
QString startFolder() {
    for (const QString &folder : {QDir::currentPath(), QDir::homePath()})
        if (QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    return QDir::rootPath();
}

// The folder and every folder above it, the root first. Worked out from the text alone, so a
// folder that is gone, or a mount that does not answer, cannot stall or lengthen it.
QStringList chainTo(const QString &folder) {
    QStringList chain{folder};
    while (!QDir(chain.first()).isRoot()) {
        const QString parent = QFileInfo(chain.first()).absolutePath();
        if (parent == chain.first())
            break;
        chain.prepend(parent);
    }
    return chain;
}

// Names in the order of the user's language: case and accents only break ties, and numbers
// go by value ("map2" before "map10"). The C locale names no language and would sort by
// code, putting "Été" after "z"; the language-neutral Unicode order stands in for it.
QCollator nameCollator() {
    QCollator collator;
    if (collator.locale().language() == QLocale::C)
        collator.setLocale(QLocale(QLocale::English));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

struct Subfolder {
    QString name;
    bool hidden;
};

// Visible folders first, then hidden ones, each in name order; names the collator counts as
// equal ("Maps" and "maps") keep one fixed order.
void sortSubfolders(std::vector<Subfolder> &subfolders) {
    const QCollator collator = nameCollator();
    std::sort(subfolders.begin(), subfolders.end(), [&](const Subfolder &a, const Subfolder &b) {
        if (a.hidden != b.hidden)
            return b.hidden;
        const int order = collator.compare(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
}

// Why folder cannot be listed, or an empty text when it can. Kept short: the note stands one
// level below the open folder, where a long text would run past the list's edge.
QString unreadableReason(const QString &folder) {
#ifdef Q_OS_UNIX
    // Opening it is the only sure test: access rights, ACLs and security modules all count.
    if (DIR *stream = ::opendir(QFile::encodeName(folder).constData())) {
        ::closedir(stream);
        return {};
    }
    switch (errno) {
    case EACCES:
    case EPERM:
        return QStringLiteral("no access");
    case ENOENT:
        return QStringLiteral("not found");
    case ENOTDIR:
        return QStringLiteral("not a folder");
    default:
        return QString::fromLocal8Bit(std::strerror(errno));
    }
#else
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("not found");
    if (!info.isDir())
        return QStringLiteral("not a folder");
    return info.isReadable() ? QString() : QStringLiteral("no access");
#endif
}

} // namespace

DirectoryList::DirectoryList(QWidget *parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    setUniformRowHeights(true);
    // Each rebuild sizes the column to the widest name, so the list scrolls sideways instead of
    // cutting names.
    header()->setStretchLastSection(false);
    setHorizontalScrollMode(ScrollPerPixel);
    // Once the user scrolls sideways, the list stops bringing the open folder's name back.
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_revealCurrent = false; });
    // activated covers Enter and the platform's double-click. Opening the folder already open
    // looks at it afresh, as moving to it would: its palette may have appeared since.
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        // A rebuild deletes every item, this one among them, while Qt may still be delivering
        // it: the rebuild waits until the signal has returned.
        const QString folder = item->data(0, pathRole).toString();
        QMetaObject::invokeMethod(
            this,
            [this, folder] {
                if (folder != m_path)
                    return setPath(folder);
                rebuild();
                emit pathChanged(m_path);
            },
            Qt::QueuedConnection);
    });
    m_path = startFolder();
    rebuild();
}

void DirectoryList::setPath(const QString &path) {
    const QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
    // A relative path has nothing to resolve against once the current folder is gone.
    if (cleaned == m_path || !QDir::isAbsolutePath(cleaned))
        return;
    m_path = cleaned;
    rebuild();
    emit pathChanged(m_path);
}

void DirectoryList::rebuild() {
    clear();
    const QIcon icon = folderIcon();
    const QBrush dimmed = palette().brush(QPalette::PlaceholderText);
    const auto addFolder = [&](QTreeWidgetItem *parentItem, const QString &name,
                               const QString &folder, bool hidden) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, name);
        item->setData(0, pathRole, folder);
        item->setIcon(0, icon);
        if (hidden)
            item->setForeground(0, dimmed);
        item->setExpanded(true);
        return item;
    };

    QTreeWidgetItem *current = nullptr;
    for (const QString &folder : chainTo(m_path)) {
        const QString name = folderName(QDir(folder));
        current = addFolder(current, name, folder, name.startsWith(QLatin1Char('.')));
    }

    const QDir dir(m_path);
    std::vector<Subfolder> subfolders;
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort))
        subfolders.push_back({info.fileName(), info.isHidden()});
    sortSubfolders(subfolders);
    for (const Subfolder &subfolder : subfolders)
        addFolder(current, subfolder.name, dir.absoluteFilePath(subfolder.name), subfolder.hidden);

    // An unreadable folder lists nothing; say so rather than look empty.
    if (const QString reason = subfolders.empty() ? unreadableReason(m_path) : QString();
        !reason.isEmpty()) {
        auto *note = new QTreeWidgetItem(current);
        note->setText(0, reason);
        note->setFlags(Qt::NoItemFlags);
        QFont italic = font();
        italic.setItalic(true);
        note->setFont(0, italic);
    }

    resizeColumnToContents(0);
    setCurrentItem(current);
    scrollTo(indexFromItem(current));
    m_revealCurrent = true;
}

void DirectoryList::scrollTo(const QModelIndex &index, ScrollHint hint) {
    QTreeWidget::scrollTo(index, hint);
    revealName(index, false);
}

void DirectoryList::updateGeometries() {
    QTreeWidget::updateGeometries();
    // The column's width and the list's own settle only after it is first shown.
    if (m_revealCurrent)
        revealName(currentIndex(), true);
}

void DirectoryList::revealName(const QModelIndex &index, bool withParents) {
    if (!index.isValid())
        return;
    // The tree scrolls sideways by whole columns; this list has one wide column, so bring
    // the name itself into view: whole where it fits, else as much of its start as fits.
    // The open folder also keeps two levels of its parents in view where it can, and its
    // subfolders, one level in, as much as that allows.
    const QRect name = nameRect(index);
    const int wanted = withParents ? name.left() - 2 * indentation() : 0;
    const int shift =
        std::min(name.left(), std::max(wanted, name.right() + 1 - viewport()->width()));
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift);
}

QRect DirectoryList::nameRect(const QModelIndex &index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    // From the item's indentation on; the column may be narrower than its content.
    QRect rect = visualRect(index);
    rect.setWidth(itemDelegateForIndex(index)->sizeHint(option, index).width());
    return rect;
}

bool DirectoryList::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::Resize) {
        // The column is never narrower than the list, so a highlight spans the whole row.
        header()->setMinimumSectionSize(static_cast<QResizeEvent *>(event)->size().width());
    }
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid()) {
        const QRect name = nameRect(index);
        const bool cut = name.width() > visualRect(index).width() || name.left() < 0 ||
                         name.right() >= viewport()->width();
        if (cut) {
            QToolTip::showText(help->globalPos(), index.data().toString(), viewport(),
                               visualRect(index));
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}
