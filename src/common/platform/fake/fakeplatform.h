#pragma once
// Scripted stand-ins for the platform services: they record what the program showed and
// answer from queues, so window tests never wait on a person or on the real clock.
#include "common/platform/clock.h"
#include "common/platform/environment.h"
#include "common/platform/fake/fakedevices.h"
#include "common/platform/prompter.h"
#include "common/platform/settingsstore.h"

#include <QMap>
#include <QStringList>
#include <deque>
#include <vector>

namespace velk {

struct ShownMessage
{
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

struct ShownInput
{
    QString prompt;
    QString title;
    QString initial;
};

class FakePrompter : public Prompter
{
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::uint32_t chooseColour(std::uint32_t initial) override;
    void bell() override { ++bells; }
    void setClipboardText(const QString& text) override { clipboard = text; }

    // Answers, taken in order; an empty queue answers Yes/Ok, cancels inputs and dialogs.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::uint32_t> colourAnswers;

    std::vector<ShownMessage> messages;
    std::vector<ShownInput> inputs;
    std::vector<FileDialogRequest> fileDialogs;
    int bells = 0;
    QString clipboard;

    QStringList messageTitles() const;
};

class FakeClock : public Clock
{
public:
    FakeClock();
    QDateTime localNow() const override { return m_local; }
    QDateTime utcNow() const override { return m_local.addSecs(m_utcMinusLocalSeconds); }
    std::int64_t tickMs() const override { return m_tick; }

    // Sets local time; UTC follows at the configured offset.
    void setLocal(const QDateTime& local) { m_local = local; }
    void setUtcMinusLocalHours(double hours) { m_utcMinusLocalSeconds = static_cast<qint64>(hours * 3600); }
    void advanceMs(std::int64_t ms);

private:
    QDateTime m_local;
    qint64 m_utcMinusLocalSeconds = 0;
    std::int64_t m_tick = 1000000;
};

class FakeSettingsStore : public SettingsStore
{
public:
    std::optional<QString> value(const QString& key) const override;
    void setValue(const QString& key, const QString& value) override { values[key] = value; }
    QMap<QString, QString> values;
};

class FakeEnvironment : public Environment
{
public:
    QString value(const QString& name) const override { return values.value(name); }
    QMap<QString, QString> values;
};

} // namespace velk
