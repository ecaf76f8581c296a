#include "voice/ui/entrycues.h"

#include <QFocusEvent>
#include <QWidget>

namespace velk {

EntryCues::EntryCues(VoiceCues& cues, QWidget* callBox, QWidget* nameBox, QWidget* locationBox,
                     QObject* parent)
    : QObject(parent), m_cues(cues), m_call(callBox), m_name(nameBox), m_location(locationBox)
{
    for (QWidget* box : {m_call, m_name, m_location}) {
        box->installEventFilter(this);
    }
}

bool EntryCues::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // The window coming back to the front, or a pop-up closing, is no move between boxes.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
            return QObject::eventFilter(watched, event);
        }
        if (watched == m_call) {
            m_cues.boxEntered(EntryBox::Call);
        } else if (watched == m_name) {
            m_cues.boxEntered(EntryBox::Name);
        } else if (watched == m_location) {
            m_cues.boxEntered(EntryBox::Location);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velk
