#pragma once

#include <QDBusMessage>
#include <QString>

// Names of mutter's remote desktop and screen cast services on the session bus.
namespace pontrel::mutter {

inline const QString remoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
inline const QString remoteDesktopPath = QStringLiteral("/org/gnome/Mutter/RemoteDesktop");
inline const QString remoteDesktopSession =
    QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
inline const QString screenCast = QStringLiteral("org.gnome.Mutter.ScreenCast");
inline const QString screenCastPath = QStringLiteral("/org/gnome/Mutter/ScreenCast");
inline const QString screenCastSession = QStringLiteral("org.gnome.Mutter.ScreenCast.Session");
inline const QString screenCastStream = QStringLiteral("org.gnome.Mutter.ScreenCast.Stream");
inline const QString displayConfig = QStringLiteral("org.gnome.Mutter.DisplayConfig");
inline const QString displayConfigPath = QStringLiteral("/org/gnome/Mutter/DisplayConfig");

// A call of a method of the remote desktop session at the path.
inline QDBusMessage sessionCall(const QString& session, const QString& method) {
    return QDBusMessage::createMethodCall(remoteDesktop, session, remoteDesktopSession, method);
}

}  // namespace pontrel::mutter
