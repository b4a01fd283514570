#!/usr/bin/python3
# A read-only FUSE file system over a folder whose files named "*failing*"
# give their first 64 KiB and then fail with EIO, as a disc with a bad sector or a
# network share that drops does. Runs in the foreground until unmounted.
# Usage: failing_mount.py BACKING_FOLDER MOUNT_POINT
import errno
import os
import sys

from fusepy import FUSE, FuseOSError

from read_only_folder import ReadOnlyFolder

FAIL_FROM = 64 * 1024


class FailingFolder(ReadOnlyFolder):
    def read(self, path, size, offset, fh):
        if "failing" in os.path.basename(path):
            if offset >= FAIL_FROM:
                raise FuseOSError(errno.EIO)
            size = min(size, FAIL_FROM - offset)
        return super().read(path, size, offset, fh)


if __name__ == "__main__":
    # direct_io: every read reaches the file system, none is answered from
    # the page cache, so the failure shows however often the file is read.
    FUSE(FailingFolder(sys.argv[1]), sys.argv[2], foreground=True, ro=True, direct_io=True)
