"""A stand-in for the system's locale service, from which a desktop without its shell takes the
keyboard layout: python3-dbusmock template, parameter "layout" (an XKB layout name)."""

import dbus

BUS_NAME = 'org.freedesktop.locale1'
MAIN_OBJ = '/org/freedesktop/locale1'
MAIN_IFACE = 'org.freedesktop.locale1'
SYSTEM_BUS = True


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'X11Layout': parameters.get('layout', 'us'),
        'X11Model': '',
        'X11Variant': '',
        'X11Options': '',
    }, signature='sv'))
