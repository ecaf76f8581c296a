#pragma once
// PartialMatchFilesDialog: the choice of the Super Check Partial database and the call-history
// file; an empty box switches that file off. Browses through the platform's prompter; the plug
// stores what it returns.
#include "common/platform/prompter.h"

#include <QDialog>

class QLineEdit;

namespace velk {

class PartialMatchFilesDialog : public QDialog
{
    Q_OBJECT
public:
    PartialMatchFilesDialog(Prompter& prompter, const QString& databaseFile, const QString& historyFile,
                            QWidget* parent = nullptr);

    QString databaseFile() const;
    QString historyFile() const;
    QLineEdit* databaseBox() const { return m_database; }
    QLineEdit* historyBox() const { return m_history; }

private:
    Prompter& m_prompter;
    QLineEdit* m_database;
    QLineEdit* m_history;

    void browse(QLineEdit* box, const QString& title, const QString& filter);
};

} // namespace velk
