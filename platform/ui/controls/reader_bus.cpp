// Signals Qt's AT-SPI bridge does not send. Qt 6.4 passes no change of the expanded state on to
// readers, so a tree's branch opened by a key is silent. The signal goes out on the bridge's own
// connection, in the bridge's own form, so the reader finds the object it names among the
// program's objects.
#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include "platform/ui/controls/accessible.h"

namespace platform::ui::controls {
namespace {

// The bridge names its connection to the readers' bus so.
const QString kReaderConnection = QStringLiteral("a11y");

QString pathOf(QAccessibleInterface* object) {
    return QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(object));
}

// (bus name, object path): how the readers' bus refers to an object.
QVariant referenceTo(const QDBusConnection& bus, const QString& path) {
    QDBusArgument reference;
    reference.beginStructure();
    reference << bus.baseService() << QDBusObjectPath(path);
    reference.endStructure();
    return QVariant::fromValue(reference);
}

} // namespace

bool tellReadersStateChanged(QAccessibleInterface* object, const QString& state, bool on) {
    if (!object || !object->isValid() || !QAccessible::isActive()) return false;
    const QDBusConnection bus(kReaderConnection);
    if (!bus.isConnected()) return false;
    const QString path = pathOf(object);
    QDBusMessage signal =
        QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    signal.setArguments({state, on ? 1 : 0, 0, QVariant::fromValue(QDBusVariant(referenceTo(bus, path))),
                         referenceTo(bus, QStringLiteral("/org/a11y/atspi/accessible/root"))});
    return bus.send(signal);
}

} // namespace platform::ui::controls
