#include "common/ui/accessibility.h"

#include <QAccessible>

namespace velk {

void dropEarlyAccessibleInterface(QObject* object)
{
    // Whether a listener is there cannot be told early enough, so the interface is always made
    // again; making one is cheap.
    const QAccessible::Id id = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(object));
    QAccessible::deleteAccessibleInterface(id);
}

} // namespace velk
