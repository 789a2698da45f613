#include "DirectoryList.h"

#include "FolderIcon.h"

#include <QDir>

namespace {

constexpr int pathRole = Qt::UserRole;

QString folderName(const QDir &dir) {
    const QString name = dir.dirName();
    return dir.isRoot() || name.isEmpty() ? QDir::toNativeSeparators(dir.absolutePath()) : name;
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
    // activated covers Enter and the platform's double-click.
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { setPath(item->data(0, pathRole).toString()); });
    m_path = QDir::currentPath();
    rebuild();
}

void DirectoryList::setPath(const QString &path) {
    const QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
    if (cleaned == m_path)
        return;
    m_path = cleaned;
    rebuild();
    emit pathChanged(m_path);
}

void DirectoryList::rebuild() {
    clear();
    const QIcon icon = folderIcon();

    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem *parentItem = nullptr;
    for (const QString &folder : chain) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, folderName(QDir(folder)));
        item->setData(0, pathRole, folder);
        item->setIcon(0, icon);
        item->setExpanded(true);
        parentItem = item;
    }
    QTreeWidgetItem *current = parentItem;

    const QDir dir(m_path);
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QTreeWidgetItem(current);
        item->setText(0, name);
        item->setData(0, pathRole, dir.absoluteFilePath(name));
        item->setIcon(0, icon);
    }
    if (current) {
        current->setExpanded(true);
        setCurrentItem(current);
        scrollToItem(current);
    }
}
