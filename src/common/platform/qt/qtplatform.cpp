#include "common/platform/qt/qtplatform.h"

#include "common/colours.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace velk {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// "Log Files (*.log) | *.log" is the classic filter notation; Qt wants "Log Files (*.log)".
QString toQtFilter(const QString& filter)
{
    const auto bar = filter.indexOf(QLatin1Char('|'));
    return (bar < 0 ? filter : filter.left(bar)).trimmed();
}

} // namespace

MessageAnswer QtPrompter::message(const QString& text, const QString& title, MessageIcon icon,
                                  MessageButtons buttons)
{
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

std::optional<QString> QtPrompter::openFile(const FileDialogRequest& request)
{
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                      request.folder, toQtFilter(request.filter));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtPrompter::saveFile(const FileDialogRequest& request)
{
    const QString start = request.proposedName.isEmpty() ? request.folder : request.proposedName;
    QFileDialog dialog(QApplication::activeWindow(), request.title, start, toQtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // An operator who types "K1ABC" means K1ABC.log, and is asked before that file is replaced.
    dialog.setDefaultSuffix(defaultSuffixOf(request.filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    // A desktop's own dialog may hand back the name as typed; the suffix then comes here, and so
    // does the question the dialog could not ask about the file it names.
    const QString path = withDefaultSuffix(chosen, request.filter);
    if (path != chosen && QFileInfo::exists(path) &&
        message(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                    .arg(QDir::toNativeSeparators(path)),
                request.title, MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return std::nullopt;
    }
    return path;
}

std::uint32_t QtPrompter::chooseColour(std::uint32_t initial)
{
    const Rgb rgb = toRgb(initial);
    const QColor chosen =
        QColorDialog::getColor(QColor(rgb.red, rgb.green, rgb.blue), QApplication::activeWindow());
    if (!chosen.isValid()) {
        return initial;
    }
    return fromRgb(chosen.red(), chosen.green(), chosen.blue());
}

void QtPrompter::bell()
{
    QApplication::beep();
}

void QtPrompter::setClipboardText(const QString& text)
{
    QApplication::clipboard()->setText(text);
}

SystemClock::SystemClock()
{
    m_elapsed.start();
}

QDateTime SystemClock::localNow() const
{
    return QDateTime::currentDateTime();
}

QDateTime SystemClock::utcNow() const
{
    return QDateTime::currentDateTimeUtc();
}

std::int64_t SystemClock::tickMs() const
{
    return m_elapsed.elapsed();
}

QtSettingsStore::QtSettingsStore() : m_settings(QStringLiteral("Varno_Software"), QStringLiteral("VELK")) {}

std::optional<QString> QtSettingsStore::value(const QString& key) const
{
    m_settings.beginGroup(QStringLiteral("Settings"));
    const QVariant stored = m_settings.value(key);
    m_settings.endGroup();
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return stored.toString();
}

void QtSettingsStore::setValue(const QString& key, const QString& value)
{
    m_settings.beginGroup(QStringLiteral("Settings"));
    m_settings.setValue(key, value);
    m_settings.endGroup();
    m_settings.sync();
}

QString ProcessEnvironment::value(const QString& name) const
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

} // namespace velk
