"""A stand-in for a desktop's portal backend, loaded by python3-dbusmock as a template: the
RemoteDesktop, ScreenCast, Screenshot and GlobalShortcuts methods the portal frontend calls,
answering at once as an approving user would. Calls are logged by dbusmock. The test presses a
bound shortcut with Press(id, down) of org.pontrel.FakePortal and makes the user decline
screenshots with SetScreenshotAnswer(1); SetStreams(json) replaces the monitors' streams;
CloseSessions() closes every session, as the user stopping sharing or taking the shortcuts back.
ScreenCast sessions ask to be remembered: the frontend keeps their restore data and hands it
back to SelectSources when the client sends the token it was given.

Parameters: "screenshot" (the file the Screenshot method names), "streams" (a list of
[node, x, y, width, height], one per monitor)."""

import dbus
import dbus.lowlevel

BUS_NAME = 'org.freedesktop.impl.portal.Fake'
MAIN_OBJ = '/org/freedesktop/portal/desktop'
MAIN_IFACE = 'org.freedesktop.impl.portal.RemoteDesktop'
SYSTEM_BUS = False

IMPL = 'org.freedesktop.impl.portal.'
OK = 'ret = (dbus.UInt32(0), {})'
KEEP_SESSION = 'self.sessions.append(args[1]); '


def close_sessions(mock):
    # The frontend passes the Closed of a session object of ours on to its client.
    for path in mock.sessions:
        mock.connection.send_message(dbus.lowlevel.SignalMessage(path, IMPL + 'Session', 'Closed'))
    mock.sessions = []


def streams(parameters):
    return dbus.Array(
        [dbus.Struct((dbus.UInt32(node), {
            'position': dbus.Struct((x, y), signature='ii'),
            'size': dbus.Struct((width, height), signature='ii'),
        }), signature='ua{sv}') for node, x, y, width, height in parameters.get('streams', [])],
        signature='(ua{sv})')


def load(mock, parameters):
    mock.streams = streams(parameters)
    mock.make_streams = streams
    mock.gs_session = ''
    mock.sessions = []
    mock.close_sessions = close_sessions
    mock.screenshot_answer = 0
    mock.AddProperties(IMPL + 'RemoteDesktop', {'version': dbus.UInt32(2),
                                                'AvailableDeviceTypes': dbus.UInt32(3)})
    mock.AddMethods(IMPL + 'RemoteDesktop', [
        ('CreateSession', 'oosa{sv}', 'ua{sv}', KEEP_SESSION + OK),
        ('SelectDevices', 'oosa{sv}', 'ua{sv}', OK),
        ('Start', 'oossa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), {"devices": dbus.UInt32(3), "streams": self.streams})'),
        ('NotifyKeyboardKeysym', 'oa{sv}iu', '', ''),
        ('NotifyKeyboardKeycode', 'oa{sv}iu', '', ''),
        ('NotifyPointerMotionAbsolute', 'oa{sv}udd', '', ''),
        ('NotifyPointerButton', 'oa{sv}iu', '', ''),
    ])
    mock.AddProperties(IMPL + 'ScreenCast', {'version': dbus.UInt32(4),
                                             'AvailableSourceTypes': dbus.UInt32(1),
                                             'AvailableCursorModes': dbus.UInt32(1)})
    mock.AddMethods(IMPL + 'ScreenCast', [
        ('CreateSession', 'oosa{sv}', 'ua{sv}', KEEP_SESSION + OK),
        ('SelectSources', 'oosa{sv}', 'ua{sv}', OK),
        ('Start', 'oossa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), {"streams": self.streams, "persist_mode": dbus.UInt32(2), '
         '"restore_data": dbus.Struct(("pontrelfake", dbus.UInt32(1), dbus.String("monitors", '
         'variant_level=1)), signature="suv")})'),
    ])
    mock.AddProperties(IMPL + 'Screenshot', {'version': dbus.UInt32(2)})
    mock.AddMethods(IMPL + 'Screenshot', [
        ('Screenshot', 'ossa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(self.screenshot_answer), {"uri": "file://%s"})'
         % parameters.get('screenshot', '')),
    ])
    # The frontend asks once whether we may take screenshots.
    mock.AddMethods(IMPL + 'Access', [('AccessDialog', 'osssssa{sv}', 'ua{sv}', OK)])
    mock.AddProperties(IMPL + 'GlobalShortcuts', {'version': dbus.UInt32(1)})
    mock.AddMethods(IMPL + 'GlobalShortcuts', [
        ('CreateSession', 'oosa{sv}', 'ua{sv}', 'self.gs_session = args[1]; ' + KEEP_SESSION + OK),
        ('BindShortcuts', 'ooa(sa{sv})sa{sv}', 'ua{sv}',
         'ret = (dbus.UInt32(0), {"shortcuts": args[2]})'),
        ('ListShortcuts', 'oo', 'ua{sv}', OK),
    ])
    mock.AddMethods('org.pontrel.FakePortal', [
        # 1: the user declines, 2: the desktop fails.
        ('SetScreenshotAnswer', 'u', '', 'self.screenshot_answer = args[0]'),
        ('CloseSessions', '', '', 'self.close_sessions(self)'),
        ('SetStreams', 's', '',
         'self.streams = self.make_streams({"streams": __import__("json").loads(args[0])})'),
        ('Press', 'sb', '',
         'self.EmitSignal("%sGlobalShortcuts", "Activated" if args[1] else "Deactivated", '
         '"osta{sv}", [self.gs_session, args[0], dbus.UInt64(0), dbus.Dictionary({}, '
         'signature="sv")])' % IMPL),
    ])
