#pragma once

#include <QTreeWidget>

// A folder list as users know it: the current folder's path from the root down and, under
// it, its subfolders in name order. Arrow keys move the highlight, typing a name finds it,
// Enter or a double-click opens the highlighted folder.
class DirectoryList : public QTreeWidget {
    Q_OBJECT

public:
    explicit DirectoryList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Shows path; raises pathChanged when it differs from the folder shown.
    void setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

private:
    void rebuild();

    QString m_path;
};
