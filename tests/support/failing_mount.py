#!/usr/bin/python3
# A read-only FUSE file system over a folder whose files named "*failing*"
# give their first 64 KiB and then fail with EIO, as a disc with a bad sector or a
# network share that drops does. Runs in the foreground until unmounted.
# Usage: failing_mount.py BACKING_FOLDER MOUNT_POINT
import errno
import os
import sys

from fusepy import FUSE, FuseOSError, Operations

FAIL_FROM = 64 * 1024


class FailingFolder(Operations):
    def __init__(self, root):
        self.root = root

    def _path(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        st = os.lstat(self._path(path))
        keys = ("st_mode", "st_size", "st_mtime", "st_ctime", "st_atime", "st_nlink", "st_uid", "st_gid")
        return {key: getattr(st, key) for key in keys}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self._path(path))

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return os.open(self._path(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        if "failing" in os.path.basename(path):
            if offset >= FAIL_FROM:
                raise FuseOSError(errno.EIO)
            size = min(size, FAIL_FROM - offset)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)


if __name__ == "__main__":
    FUSE(FailingFolder(sys.argv[1]), sys.argv[2], foreground=True, ro=True, direct_io=True)
