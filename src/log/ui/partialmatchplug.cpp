#include "log/ui/partialmatchplug.h"

#include "log/logsession.h"
#include "log/ui/partialmatchfilesdialog.h"
#include "log/ui/partialmatchpanel.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace velk {

namespace {

void fillIfEmpty(QLineEdit* box, const QString& text)
{
    if (box && box->text().isEmpty() && !text.isEmpty()) {
        box->setText(text);
        box->selectAll();
    }
}

} // namespace

PartialMatchPlug::PartialMatchPlug(Platform& platform, LogSession& session, SuperCheck& superCheck,
                                   QWidget* window)
    : QObject(window), m_platform(platform), m_session(session), m_superCheck(superCheck), m_window(window),
      m_panel(new PartialMatchPanel(window)),
      m_filesAction(new QAction(tr("Super &Check Partial Files..."), this))
{
    m_filesAction->setObjectName(QStringLiteral("partialMatchFilesAction"));
    connect(m_filesAction, &QAction::triggered, this, &PartialMatchPlug::chooseFiles);
    connect(m_panel, &PartialMatchPanel::callChosen, this, [this](const QString& call) {
        m_taken = call;
        emit callChosen(call);
    });
    connect(&m_superCheck, &SuperCheck::statusReport, this, &PartialMatchPlug::statusText);
    connect(&m_superCheck, &SuperCheck::loaded, this, &PartialMatchPlug::refresh);

    // The log's calls follow every reload and every contact; the marks follow the band.
    connect(&m_session, &LogSession::logReloaded, this, [this] {
        m_superCheck.rebuildLog(m_session.log);
        refresh();
    });
    connect(&m_session, &LogSession::contactLogged, this,
            [this](const ContactRecord& record) { m_superCheck.addContact(record); });
    connect(&m_session, &LogSession::bandChanged, this, &PartialMatchPlug::refresh);
    m_superCheck.rebuildLog(m_session.log);
    m_superCheck.load();
}

void PartialMatchPlug::showMatchesFor(const QString& callText)
{
    if (!m_taken.isEmpty() && callText == m_taken) {
        return;
    }
    m_taken.clear();
    m_callText = callText;
    refresh();
}

void PartialMatchPlug::refresh()
{
    m_taken.clear();
    m_panel->showMatches(m_superCheck.matches(m_callText, m_session.prefs.currentBand));
}

bool PartialMatchPlug::handleKey(const QKeyEvent* event)
{
    if (event->type() != QEvent::KeyPress || event->modifiers() != Qt::ControlModifier) {
        return false;
    }
    if (event->key() == Qt::Key_Down) {
        m_panel->takeNext();
        return true;
    }
    if (event->key() == Qt::Key_Up) {
        m_panel->takePrevious();
        return true;
    }
    return false;
}

void PartialMatchPlug::prefill(const QString& call, QLineEdit* nameBox, QLineEdit* locationBox) const
{
    if (const auto entry = m_superCheck.prefillFor(call)) {
        fillIfEmpty(nameBox, entry->name);
        fillIfEmpty(locationBox, entry->location);
    }
}

void PartialMatchPlug::chooseFiles()
{
    if (m_dialog) {
        m_dialog->raise();
        return;
    }
    m_dialog = new PartialMatchFilesDialog(m_platform.prompter, m_superCheck.databaseFile(),
                                           m_superCheck.historyFile(), m_window);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::accepted, this,
            [this] { m_superCheck.chooseFiles(m_dialog->databaseFile(), m_dialog->historyFile()); });
    m_dialog->open();
}

} // namespace velk
