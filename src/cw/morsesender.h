#pragma once
// MorseSender: what turns the keyer's text into Morse on the air: the key-line worker or the WinKey
// device. The keyer (function-key messages, keyboard sending, code practice) talks only to this.
#include <QObject>
#include <QString>

namespace velk {

class MorseSender : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MorseSender() override = default;

    // Queues text behind what is still unsent. Marks such as "!" are not keyed: characterSent
    // reports them when the sending reaches them.
    virtual void append(const QString& text) = 0;
    // Backspace: removes the last character not yet started; false when nothing was unsent.
    virtual bool removeLastUnsent() = 0;
    // Esc: drops everything unsent; the character being keyed ends normally.
    virtual void clear() = 0;
    // Words per minute, 5-99; takes effect from the next character.
    virtual void setSpeed(int wpm) = 0;
    virtual bool isSending() const = 0;

signals:
    // A character (or a mark) has been sent completely.
    void characterSent(QChar character);
    // Nothing is left to send and the key is up; a repeat pause counts from here.
    void idle();
    // The line or device failed; the key is up and sending has stopped.
    void failed(const QString& text);
};

} // namespace velk
