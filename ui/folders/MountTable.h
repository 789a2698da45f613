#pragma once

#include <QByteArray>
#include <QStringList>

// The mount points of a table in the kernel's mountinfo format, without the kernel's own file
// systems and the system's plumbing, which never hold the user's files.
QStringList userMountPoints(const QByteArray &mountInfo);

// The user's mount points of this process, read from the kernel's table without asking any
// file system, so a share whose server is gone cannot hold up the caller.
QStringList mountPoints();
