#pragma once

#include <QTreeWidget>

// A folder list as users know it: the current folder's path from the root down and, under
// it, its subfolders in the user's name order, hidden ones dimmed after the others. Arrow
// keys move the highlight, typing a name finds it, Enter or a double-click opens the
// highlighted folder (the open one is looked at afresh). Names wider than the list scroll
// sideways; a name not shown whole gives its full text as a tooltip. A folder that cannot be
// read says why in a greyed row.
class DirectoryList : public QTreeWidget {
    Q_OBJECT

public:
    explicit DirectoryList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Shows path; raises pathChanged when it differs from the folder shown. Opening the open
    // folder's own row raises it as well.
    void setPath(const QString &path);

    // Also scrolls sideways, so that the item's name comes into view.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    void pathChanged(const QString &path);

protected:
    bool viewportEvent(QEvent *event) override;
    void updateGeometries() override;

private:
    void rebuild();
    // The part of the viewport that the item's icon and whole name take, scrolled as shown.
    QRect nameRect(const QModelIndex &index) const;
    // Scrolls sideways just enough, or with withParents to show a little of the levels above.
    void revealName(const QModelIndex &index, bool withParents);

    QString m_path;
    bool m_revealCurrent = false;
};
