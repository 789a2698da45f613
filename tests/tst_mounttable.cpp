#include "MountTable.h"

#include <QTest>

// The drive list's reading of the kernel's mount table, on tables written here.
class TestMountTable : public QObject {
    Q_OBJECT

private slots:
    void userMountPoints_data();
    void userMountPoints();
};

void TestMountTable::userMountPoints_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("offered");

    const auto row = [](const char *tag, const char *mountPoint, const char *type,
                        QStringList offered, const char *optional = "shared:1") {
        QTest::newRow(tag) << QByteArray("36 35 98:0 / ") + mountPoint + " rw,noatime " + optional +
                                  " - " + type + " /dev/sda1 rw"
                           << offered;
    };
    row("root", "/", "ext4", {"/"});
    row("no optional fields", "/home", "ext4", {"/home"}, "");
    row("escaped space and backslash", "/mnt/my\\040disk\\134x", "ext4", {"/mnt/my disk\\x"});
    row("kernel type", "/proc", "proc", {});
    row("kernel type anywhere", "/srv/cg", "cgroup2", {});
    row("system folder", "/sys/fs/fuse", "fuse", {});
    row("session runtime", "/run/user/1000", "tmpfs", {});
    row("removable medium", "/run/media/ann/USB", "vfat", {"/run/media/ann/USB"});
    row("file over /etc", "/etc/hosts", "ext4", {});
    row("folder named like a system one", "/devices", "ext4", {"/devices"});
    QTest::newRow("cut line") << QByteArray("36 35 98:0 / /mnt rw") << QStringList();
}

void TestMountTable::userMountPoints() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, offered);
    QCOMPARE(::userMountPoints(line + "\n\n"), offered);
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_mounttable.moc"
