#pragma once
// Accessibility helpers for widgets that bring their own accessible interface through a factory.
#include <QObject>

namespace velk {

// While a screen reader listens, Qt makes an object's accessible interface as the object is
// created, when only its base class is known, and keeps it. Called at the end of a constructor,
// this drops such an early interface so that the next query finds the class's own factory.
void dropEarlyAccessibleInterface(QObject* object);

} // namespace velk
