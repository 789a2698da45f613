#pragma once

#include <sys/stat.h>

// Gives the file open at to the owner, group and mode in old and every extended attribute of the
// file open at from, a POSIX ACL (system.posix_acl_access) among them, and takes away any
// attribute from lacks (a folder's default ACL gives every new file one). Returns false where
// the system refuses any of it; to may then be half done and should be thrown away.
bool copyFileIdentity(int from, const struct stat &old, int to);
