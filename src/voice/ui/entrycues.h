#pragma once
// EntryCues: speaks the cue of an entry box when it gets the focus (call, name, location), as the
// navigation level asks. Watches the boxes' focus events; plays through the voice cues.
#include "voice/voicecues.h"

#include <QObject>

class QWidget;

namespace velk {

class EntryCues : public QObject
{
    Q_OBJECT
public:
    EntryCues(VoiceCues& cues, QWidget* callBox, QWidget* nameBox, QWidget* locationBox,
              QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    VoiceCues& m_cues;
    QWidget* m_call;
    QWidget* m_name;
    QWidget* m_location;
};

} // namespace velk
