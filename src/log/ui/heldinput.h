#pragma once
// HeldInput: holds the operator's keys and clicks for a while without blocking the window: while
// held, every key and mouse-button event of the application is kept in order; release() hands
// them on to their widgets as if they arrived then. Talks to the application's event filter only.
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

class QEvent;

namespace velk {

class HeldInput : public QObject
{
public:
    explicit HeldInput(QObject* parent = nullptr);
    ~HeldInput() override;

    void hold();
    // Delivers what was held, in order. A delivery that starts a new hold keeps the rest held.
    void release();
    bool isHolding() const { return m_holding; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_holding = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_events;
};

} // namespace velk
