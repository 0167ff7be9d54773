"""A native GTK 3 text field that receives typed text: the whole text goes to the file named on
the command line when typing pauses for a moment."""

import os
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} <text file>", file=sys.stderr)
        return 2
    path = sys.argv[1]
    window = Gtk.Window(title="GTK-Empfänger")
    window.set_default_size(600, 200)
    field = Gtk.TextView()
    window.add(field)
    text = field.get_buffer()
    pending = []

    def write():
        pending.clear()
        start, end = text.get_bounds()
        with open(path + ".new", "w", encoding="utf-8") as file:
            file.write(text.get_text(start, end, True))
        os.replace(path + ".new", path)
        return GLib.SOURCE_REMOVE

    def changed(_):
        if pending:
            GLib.source_remove(pending.pop())
        pending.append(GLib.timeout_add(30, write))

    text.connect("changed", changed)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
