# What the test file systems share: a read-only FUSE view of a backing folder
# whose reads go straight to the backing files. A mount script subclasses
# ReadOnlyFolder and changes how reads are answered.
import errno
import os

from fusepy import FuseOSError, Operations


class ReadOnlyFolder(Operations):
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
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)
