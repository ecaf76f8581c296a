#pragma once
// The spot maps as a screen reader reads them: the map is a list whose items are the drawn spots
// in frequency order, each named "DL1ABC, 14.010 megahertz, 3 minutes old", followed by the zoom
// buttons; the spot the keyboard is on is the focused item. Reads the SpotMapView only.
#include <QAccessibleWidget>
#include <vector>

namespace velk {

class SpotMapView;

// The factory Qt asks for the map's interface.
QAccessibleInterface* spotMapInterface(const QString& className, QObject* object);

class SpotMapAccessible : public QAccessibleWidget
{
public:
    explicit SpotMapAccessible(SpotMapView* view);
    ~SpotMapAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    SpotMapView* view() const;
    QAccessibleInterface* spotItem(int index) const;
    mutable std::vector<QAccessible::Id> m_items; // by position in frequency order
};

class SpotItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    SpotItemAccessible(SpotMapView* view, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    static QString withdrawAction();

private:
    SpotMapView* m_view;
    int m_index;
};

} // namespace velk
