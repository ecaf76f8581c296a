#include "spots/ui/spotmapaccessible.h"

#include "spots/ui/spotmapview.h"

#include <QWindow>

namespace velk {

QAccessibleInterface* spotMapInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("velk::SpotMapView") && object) {
        return new SpotMapAccessible(static_cast<SpotMapView*>(object));
    }
    return nullptr;
}

SpotMapAccessible::SpotMapAccessible(SpotMapView* view) : QAccessibleWidget(view, QAccessible::List) {}

SpotMapAccessible::~SpotMapAccessible()
{
    for (const QAccessible::Id id : m_items) {
        if (id) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

SpotMapView* SpotMapAccessible::view() const
{
    return static_cast<SpotMapView*>(widget());
}

int SpotMapAccessible::childCount() const
{
    return view()->spotCount() + QAccessibleWidget::childCount();
}

QAccessibleInterface* SpotMapAccessible::spotItem(int index) const
{
    if (m_items.size() <= static_cast<std::size_t>(index)) {
        m_items.resize(static_cast<std::size_t>(index) + 1, 0);
    }
    QAccessible::Id& id = m_items[static_cast<std::size_t>(index)];
    if (!id) {
        id = QAccessible::registerAccessibleInterface(new SpotItemAccessible(view(), index));
    }
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* SpotMapAccessible::child(int index) const
{
    const int spots = view()->spotCount();
    if (index < 0) {
        return nullptr;
    }
    return index < spots ? spotItem(index) : QAccessibleWidget::child(index - spots);
}

int SpotMapAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] && QAccessible::accessibleInterface(m_items[i]) == child) {
            return static_cast<int>(i) < view()->spotCount() ? static_cast<int>(i) : -1;
        }
    }
    const int widgetIndex = QAccessibleWidget::indexOfChild(child);
    return widgetIndex < 0 ? -1 : view()->spotCount() + widgetIndex;
}

QAccessibleInterface* SpotMapAccessible::focusChild() const
{
    if (view()->hasFocus() && view()->currentSpot() >= 0) {
        return spotItem(view()->currentSpot());
    }
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* SpotMapAccessible::childAt(int x, int y) const
{
    const QPoint local = view()->mapFromGlobal(QPoint(x, y));
    for (int i = view()->spotCount() - 1; i >= 0; --i) {
        if (view()->spotRect(i).contains(local)) {
            return spotItem(i);
        }
    }
    return QAccessibleWidget::childAt(x, y);
}

SpotItemAccessible::SpotItemAccessible(SpotMapView* view, int index) : m_view(view), m_index(index) {}

bool SpotItemAccessible::isValid() const
{
    return m_index < m_view->spotCount();
}

QWindow* SpotItemAccessible::window() const
{
    return m_view->window()->windowHandle();
}

QAccessibleInterface* SpotItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_view);
}

QString SpotItemAccessible::text(QAccessible::Text t) const
{
    if (!isValid()) {
        return {};
    }
    switch (t) {
    case QAccessible::Name:
        return m_view->spotAt(m_index).spoken;
    case QAccessible::Description:
        return QObject::tr("Enter tunes the radio to the spot, Delete withdraws it.");
    default:
        return {};
    }
}

QRect SpotItemAccessible::rect() const
{
    if (!isValid()) {
        return {};
    }
    const QRect local = m_view->spotRect(m_index);
    return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State SpotItemAccessible::state() const
{
    QAccessible::State state;
    state.focusable = true;
    state.selectable = true;
    const bool current = isValid() && m_view->currentSpot() == m_index;
    state.selected = current;
    state.focused = current && m_view->hasFocus();
    state.invisible = !m_view->isVisible();
    return state;
}

void* SpotItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QString SpotItemAccessible::withdrawAction()
{
    return QStringLiteral("Withdraw");
}

QStringList SpotItemAccessible::actionNames() const
{
    return {pressAction(), withdrawAction()};
}

void SpotItemAccessible::doAction(const QString& actionName)
{
    if (!isValid()) {
        return;
    }
    m_view->setCurrentSpot(m_index);
    if (actionName == pressAction()) {
        m_view->tuneToCurrentSpot();
    } else if (actionName == withdrawAction()) {
        m_view->withdrawCurrentSpot();
    }
}

QStringList SpotItemAccessible::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction()) {
        return {QStringLiteral("Return")};
    }
    return actionName == withdrawAction() ? QStringList{QStringLiteral("Delete")} : QStringList{};
}

} // namespace velk
