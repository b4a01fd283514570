#!/usr/bin/python3
# A read-only FUSE file system over a folder that reads like one spinning
# disk: every file lies in one piece on a virtual platter, in the order of a
# sorted walk of the folder (names in code point order, as "LC_ALL=C ls";
# as if the set had been copied in name order), and one request is served
# at a time, as by a disk's single head. A read that does not begin where
# the last one ended is a seek, charged --seek-ms; every read is charged its
# size at --mib-per-s (0: no charge). The charges run on the disk's own
# clock, so the mount's own time answering overlaps them. The page cache
# and read-ahead work over it as over a real disk.
#
# What the disk did goes to --stats as one JSON object (padded with spaces
# to a fixed length), rewritten in place before each read is answered, so
# the figures are final as soon as the reads a caller waits for have
# returned: reads, bytes, seeks, and interleavings, the times a read goes
# back to a file that was begun and left unfinished for another one (A, B,
# A counts one), which is what costs a spinning disk most.
#
# Usage: spinning_mount.py BACKING_FOLDER MOUNT_POINT [--seek-ms N] [--mib-per-s N] [--stats FILE]
# Runs in the foreground until unmounted.
import argparse
import json
import os
import stat
import time

from fusepy import FUSE

from read_only_folder import ReadOnlyFolder

MIB = 1024 * 1024
STATS_WIDTH = 160  # bytes, room for every figure's 20 digits
SHORTEST_SLEEP = 0.001  # seconds


def platter_layout(root):
    """Each file's start on the platter and size, by its path in the mount, and where the files end."""
    files = {}
    position = 0

    def walk(folder, mounted):
        nonlocal position
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            st = os.lstat(path)
            if stat.S_ISDIR(st.st_mode):
                walk(path, mounted + name + "/")
            elif stat.S_ISREG(st.st_mode):
                files[mounted + name] = (position, st.st_size)
                position += st.st_size

    walk(root, "/")
    return files, position


class SpinningFolder(ReadOnlyFolder):
    def __init__(self, root, seek_ms, mib_per_s, stats_file):
        super().__init__(root)
        self.files, self.end = platter_layout(root)
        self.seek_s = seek_ms / 1000.0
        self.bytes_per_s = mib_per_s * MIB
        self.stats_fd = os.open(stats_file, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644) if stats_file else None
        self.stats = {"reads": 0, "bytes": 0, "seeks": 0, "interleavings": 0}
        self.head = 0  # the platter position after the last read
        self.free_at = 0.0  # when the disk is done with the reads so far, by time.monotonic()
        self.current = None  # the file last read
        self.read_to = {}  # where in each file its last read ended
        self.left = set()  # files begun and left for another before their end
        self.write_stats()

    def write_stats(self):
        # One write of the same length every time, over the last: a file
        # written anew and renamed for every read would cost the read a
        # millisecond on ext4, which flushes a file renamed over another.
        if self.stats_fd is not None:
            os.pwrite(self.stats_fd, json.dumps(self.stats).ljust(STATS_WIDTH - 1).encode() + b"\n", 0)

    def place(self, path):
        """Where the file lies on the platter; one the walk at mount time did not see goes after the others."""
        if path not in self.files:
            size = os.lstat(self._path(path)).st_size
            self.files[path] = (self.end, size)
            self.end += size
        return self.files[path]

    def read(self, path, size, offset, fh):
        data = super().read(path, size, offset, fh)
        start, _ = self.place(path)
        position = start + offset
        delay = len(data) / self.bytes_per_s if self.bytes_per_s else 0.0
        if position != self.head:
            self.stats["seeks"] += 1
            delay += self.seek_s
        if path != self.current:
            if self.current is not None and self.read_to[self.current] < self.files[self.current][1]:
                self.left.add(self.current)
            if path in self.left:
                self.left.discard(path)
                self.stats["interleavings"] += 1
            self.current = path
        self.read_to[path] = offset + len(data)
        self.head = position + len(data)
        self.stats["reads"] += 1
        self.stats["bytes"] += len(data)
        self.write_stats()
        self.wait(delay)
        return data

    def wait(self, delay):
        # The disk is busy until free_at, counted from when it was last free,
        # so that the time spent here answering counts towards the delay.
        # Sleeps shorter than a millisecond are carried to the next read:
        # they would oversleep by more than they last.
        self.free_at = max(self.free_at, time.monotonic()) + delay
        owed = self.free_at - time.monotonic()
        if owed >= SHORTEST_SLEEP:
            time.sleep(owed)


def main():
    parser = argparse.ArgumentParser(description="A read-only FUSE mount that reads like a spinning disk.")
    parser.add_argument("backing")
    parser.add_argument("mount_point")
    parser.add_argument("--seek-ms", type=float, default=0.0, help="what each seek costs")
    parser.add_argument("--mib-per-s", type=float, default=0.0, help="the transfer rate; 0 charges nothing")
    parser.add_argument("--stats", help="the file the figures are written to")
    args = parser.parse_args()
    disk = SpinningFolder(os.path.abspath(args.backing), args.seek_ms, args.mib_per_s, args.stats)
    # kernel_cache: an open keeps the pages cached from earlier reads, as a
    # disk's file system does; the files do not change under the mount.
    FUSE(disk, args.mount_point, foreground=True, ro=True, nothreads=True, kernel_cache=True)


if __name__ == "__main__":
    main()
