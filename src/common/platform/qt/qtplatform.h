#pragma once
// The platform services on a Qt desktop: Qt dialogs, the system clock, QSettings and the
// process environment.
#include "common/platform/clock.h"
#include "common/platform/environment.h"
#include "common/platform/prompter.h"
#include "common/platform/settingsstore.h"

#include <QElapsedTimer>
#include <QSettings>

class QWidget;

namespace velk {

class QtPrompter : public Prompter
{
public:
    // Dialogs are centred on the window that is active when they open.
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::uint32_t chooseColour(std::uint32_t initial) override;
    void bell() override;
    void setClipboardText(const QString& text) override;
};

class SystemClock : public Clock
{
public:
    SystemClock();
    QDateTime localNow() const override;
    QDateTime utcNow() const override;
    std::int64_t tickMs() const override;

private:
    QElapsedTimer m_elapsed;
};

class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();
    std::optional<QString> value(const QString& key) const override;
    void setValue(const QString& key, const QString& value) override;

private:
    mutable QSettings m_settings;
};

class ProcessEnvironment : public Environment
{
public:
    QString value(const QString& name) const override;
};

} // namespace velk
