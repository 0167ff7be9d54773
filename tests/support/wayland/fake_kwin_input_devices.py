"""A stand-in for KWin's input devices on the session bus, loaded by python3-dbusmock as a
template: the device list of org.kde.KWin.InputDeviceManager and one object per device with the
boolean properties of org.kde.KWin.InputDevice given, `enabled` among them, which
org.freedesktop.DBus.Properties.Set changes as KWin's does.

Parameters: "devices", an object of sysfs names ("event3") to their properties."""

import dbus

BUS_NAME = 'org.kde.KWin'
MAIN_OBJ = '/org/kde/KWin/InputDevice'
MAIN_IFACE = 'org.kde.KWin.InputDeviceManager'
SYSTEM_BUS = False

DEVICE_IFACE = 'org.kde.KWin.InputDevice'


def load(mock, parameters):
    devices = parameters.get('devices', {})
    mock.AddProperties(MAIN_IFACE, {'devicesSysNames': dbus.Array(list(devices), signature='s')})
    for name, properties in devices.items():
        mock.AddObject(MAIN_OBJ + '/' + name, DEVICE_IFACE,
                       {key: dbus.Boolean(value) for key, value in properties.items()}, [])
