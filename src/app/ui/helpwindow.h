#pragma once
// HelpWindow: the "Help Page" window. Shows a help text file from the working folder and offers
// the second text; reads files only.
#include <QDialog>

class QPlainTextEdit;

namespace velk {

class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    HelpWindow(const QString& workingFolder, QWidget* parent = nullptr);
    // Shows the whole text of a file of the working folder, or says that it is missing.
    void showText(const QString& fileName);
    QString shownText() const;

private:
    QString m_folder;
    QPlainTextEdit* m_text = nullptr;
};

} // namespace velk
