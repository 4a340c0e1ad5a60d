'''A StatusNotifierWatcher with a host registered, as KDE Plasma or GNOME's
AppIndicator extension run it: a python3-dbusmock template for a private
session bus. Items that register are logged with the name they give and kept
in RegisteredStatusNotifierItems.'''

import dbus

BUS_NAME = 'org.kde.StatusNotifierWatcher'
MAIN_OBJ = '/StatusNotifierWatcher'
MAIN_IFACE = 'org.kde.StatusNotifierWatcher'
SYSTEM_BUS = False


def load(mock, _parameters):
    mock.AddProperties(MAIN_IFACE, {
        'IsStatusNotifierHostRegistered': dbus.Boolean(True),
        'ProtocolVersion': dbus.Int32(0),
        'RegisteredStatusNotifierItems': dbus.Array([], signature='s'),
    })
    # Qt names its item by its connection's unique name; the call log keeps it too.
    mock.AddMethods(MAIN_IFACE, [
        ('RegisterStatusNotifierItem', 's', '', '''iface = "org.kde.StatusNotifierWatcher"
items = self.Get(iface, "RegisteredStatusNotifierItems") + [args[0]]
self.Set(iface, "RegisteredStatusNotifierItems", dbus.Array(items, signature="s"))
self.EmitSignal(iface, "StatusNotifierItemRegistered", "s", [args[0]])'''),
        ('RegisterStatusNotifierHost', 's', '', ''),
    ])
