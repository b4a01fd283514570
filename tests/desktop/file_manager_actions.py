#!/usr/bin/python3
# Runs each file manager's Velmar entries as that file manager runs them, on
# names a shell would take apart, with a stand-in velmar first on PATH that
# records its arguments: every entry must start velmar with exactly its
# option and the paths, and be offered on what that option takes.
#   file_manager_actions.py ACTIONS_FOLDER | --thunar VELMAR
import importlib.util
import os
import re
import subprocess
import sys
import tempfile
import time
import types
import xml.etree.ElementTree as ElementTree

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

# Each caption's option, what it is offered on, and whether on one item only.
ENTRIES = {
    "Create Checksum List...": ("--create", "files", False),
    "Create Checksum List of Folder...": ("--create", "folders", True),
    "Verify Checksum List": ("--verify", "lists", False),
    "Check Against a Digest...": ("--check", "files", True),
}
KINDS = {"nodirs;": "files", "all/allfiles;": "files", "*": "files", "dir;": "folders", "inode/directory;": "folders"}

SCRATCH = tempfile.mkdtemp(prefix="velmar-actions-")
FILES = [os.path.join(SCRATCH, name) for name in ("$(touch x).iso", "a'b\".bin", "line\nfeed.bin")]
LISTS = [os.path.join(SCRATCH, name) for name in ("$(touch x).sfv", "a'b\".md5", "line\nfeed.sha256")]
FOLDER = os.path.join(SCRATCH, "a folder $(touch x)")
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


# Launches the entry on each selection it takes, or on those given.
def runs(where, caption, launch, on=None):
    option, kind, single = ENTRIES[caption]
    paths = {"files": FILES, "lists": LISTS, "folders": [FOLDER]}[kind]
    for selection in on or ([[path] for path in paths] if single else [paths]):
        record = os.environ["VELMAR_RECORD"] = os.path.join(SCRATCH, "record")
        try:
            launch(selection)
        except (GLib.Error, subprocess.CalledProcessError) as error:
            check(False, f"{where}: {caption} did not start: {error}")
        deadline = time.monotonic() + 10
        while not os.path.exists(record) and time.monotonic() < deadline:
            time.sleep(0.02)
        got = open(record, "rb").read().decode().split("\0")[:-1] if os.path.exists(record) else None
        check(got == [option, *selection], f"{where}: {caption} on {selection!r} started velmar with {got!r}")
        check(not os.path.exists("x"), f"{where}: {caption} ran a name")
        for leftover in (record, "x"):
            if os.path.exists(leftover):
                os.remove(leftover)


# The line as Nemo, Caja, PCManFM-Qt and Thunar build it: %F every path, %f
# the first, each quoted for the shell.
def quoted(command, paths):
    codes = {"F": " ".join(map(GLib.shell_quote, paths)), "f": GLib.shell_quote(paths[0]), "%": "%"}
    return re.sub(r"%(.)", lambda m: codes.get(m.group(1), m.group(0)), command)


def split(command):  # Nemo, Caja and PCManFM-Qt split the line themselves
    return lambda paths: subprocess.run(GLib.shell_parse_argv(quoted(command, paths))[1], check=True)


def shell(command):  # Thunar hands it to /bin/sh -c
    return lambda paths: subprocess.run(["/bin/sh", "-c", quoted(command, paths)], check=True)


def desktop_entry(command):  # as GLib launches a desktop entry's Exec
    def launch(paths):
        entry = GLib.KeyFile()
        for key, value in (("Type", "Application"), ("Name", "launcher"), ("Exec", command)):
            entry.set_string("Desktop Entry", key, value)
        entry.save_to_file(os.path.join(SCRATCH, "launcher.desktop"))
        app = Gio.DesktopAppInfo.new_from_filename(os.path.join(SCRATCH, "launcher.desktop"))
        app.launch([Gio.File.new_for_path(p) for p in paths], None)
    return launch


def value(entry, group, key):
    try:
        return entry.get_string(group, key)
    except GLib.Error:
        return ""


def listed(text):
    return list(filter(None, text.split(";")))


# Each key-file format's entries: (caption, Exec line, what it is offered
# on as written, one item only).
def nemo(e):
    g = "Nemo Action"
    return [(value(e, g, "Name"), value(e, g, "Exec"), value(e, g, "Extensions") or value(e, g, "Mimetypes"),
             value(e, g, "Selection") == "s")]


def kio(e):
    d = "Desktop Entry"
    return [(value(e, g, "Name"), value(e, g, "Exec"), value(e, d, "MimeType"),
             value(e, d, "X-KDE-RequiredNumberOfUrls") == "1")
            for g in ("Desktop Action " + a for a in listed(value(e, d, "Actions")))]


def file_manager_actions(e):
    return [(value(e, "Desktop Entry", "Name"), value(e, g, "Exec"), value(e, g, "MimeTypes"),
             value(e, g, "SelectionCount") == "=1")
            for g in ("X-Action-Profile " + p for p in listed(value(e, "Desktop Entry", "Profiles")))]


def thunar(velmar):  # velmar --add-thunar-actions; what it keeps and adds once is desktop_test's
    uca = os.path.join(SCRATCH, "config", "Thunar", "uca.xml")
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(SCRATCH, "config"), DISPLAY="", WAYLAND_DISPLAY="")
    done = subprocess.run([velmar, "--add-thunar-actions"], env=env, capture_output=True, text=True)
    check(done.returncode == 0 and done.stdout.count("\n") == 1, f"Thunar: velmar said {done!r}")
    # Thunar's own declaration puts the encoding first, which expat refuses;
    # GMarkup, which Thunar reads with, passes over it.
    actions = ElementTree.fromstring(open(uca).read().split("?>", 1)[1]).findall("action")
    entries = []
    for action in actions:
        patterns = action.findtext("patterns")
        names = [os.path.basename(p) for p in LISTS]
        check(patterns == "*" or all(any(GLib.pattern_match_simple(g, n) for g in listed(patterns)) for n in names),
              f"Thunar: {patterns!r} leaves out one of {names!r}")
        kinds = "dir;" if action.find("directories") is not None else patterns
        # Thunar offers a command without %F for one item only.
        entries.append((action.findtext("name"), action.findtext("command"), kinds, "%F" not in action.findtext("command")))
    return entries


def nautilus(path):  # the extension, with a stand-in for Nautilus's own module
    class MenuItem:
        def __init__(self, name, label, tip):
            self.label = label

        def connect(self, signal, callback, *data):
            self.activate = lambda: callback(self, *data)

    def File(path, mime, location=None):
        return types.SimpleNamespace(path=path, get_mime_type=lambda: mime, is_directory=lambda: os.path.isdir(path),
                                     get_location=lambda: location or Gio.File.new_for_path(path))

    sys.modules["gi.repository.Nautilus"] = types.SimpleNamespace(MenuItem=MenuItem, MenuProvider=type("P", (), {}))
    require_version = gi.require_version
    gi.require_version = lambda name, version: name == "Nautilus" or require_version(name, version)
    spec = importlib.util.spec_from_file_location("velmar_nautilus", path)
    extension = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(extension)
    gi.require_version = require_version
    menu = extension.VelmarMenu()

    files = [File(p, "application/octet-stream") for p in FILES]
    lists = [File(p, sorted(extension.LIST_TYPES)[0]) for p in LISTS]
    folder = File(FOLDER, "inode/directory")
    create, of_folder, verify, check_one = ENTRIES
    for selection, expected in ((files, {create}), (lists, {create, verify}), (lists[:1], {create, verify, check_one}),
                                (files[:1], {create, check_one}), ([folder], {of_folder}), ([folder, files[0]], set()),
                                ([File(FILES[0], "", Gio.File.new_for_uri("sftp://host/a.iso"))], set())):
        # Nautilus 43 passes the files alone, earlier ones the window first.
        for items in (menu.get_file_items(selection), menu.get_file_items(None, selection)):
            check({item.label for item in items} == expected, f"Nautilus: {[f.path for f in selection]!r} got "
                                                              f"{[item.label for item in items]!r}")
        for item in menu.get_file_items(selection):
            runs("Nautilus", item.label, lambda _, item=item: item.activate(), on=[[f.path for f in selection]])


def main():
    for path in FILES + LISTS:
        open(path, "w").close()
    os.makedirs(FOLDER)
    fake = os.path.join(SCRATCH, "bin", "velmar")
    os.makedirs(os.path.dirname(fake))
    with open(fake, "w") as out:
        out.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$VELMAR_RECORD.part\" && mv \"$VELMAR_RECORD.part\" \"$VELMAR_RECORD\"\n")
    os.chmod(fake, 0o755)
    os.environ["PATH"] = os.path.dirname(fake) + ":" + os.environ["PATH"]
    os.chdir(SCRATCH)  # where a name a shell ran would make "x"

    if sys.argv[1] == "--thunar":
        formats = [("Thunar", thunar(sys.argv[2]), [shell])]
    else:
        def read(place, entries):
            folder = os.path.join(sys.argv[1], place)
            for name in sorted(os.listdir(folder)):
                loaded = GLib.KeyFile()
                loaded.load_from_file(os.path.join(folder, name), GLib.KeyFileFlags.NONE)
                yield from entries(loaded)
        formats = [("Nemo", read("nemo", nemo), [split]), ("Dolphin", read("kio", kio), [desktop_entry]),
                   ("Caja", read("file-manager", file_manager_actions), [split, desktop_entry])]
        nautilus(os.path.join(sys.argv[1], "nautilus", "velmar.py"))
    for where, entries, launchers in formats:
        captions = []
        for caption, command, kinds, single in entries:
            captions.append(caption)
            kind = KINDS.get(kinds, "lists")
            if kind == "lists":
                check("text/x-sfv;" in kinds or "*.sfv;" in kinds, f"{where}: {caption} leaves out SFV lists")
            check(ENTRIES.get(caption, (None,))[1:] == (kind, single), f"{where}: {caption!r} on {kind}, one: {single}")
            for launcher in launchers if caption in ENTRIES else []:
                runs(where, caption, launcher(command))
        check(sorted(captions) == sorted(ENTRIES), f"{where}: the entries are {captions!r}")
    subprocess.run(["rm", "-rf", SCRATCH])
    print(f"{len(failures)} failures" if failures else "every entry starts velmar with its paths")
    sys.exit(1 if failures else 0)


main()
