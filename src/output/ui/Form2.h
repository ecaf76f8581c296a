#pragma once
// Form2: the "Summary Sheet Information" window. Collects what the Cabrillo file needs beyond
// the log (category, power, operators, address, soapbox), writes the file and remembers the
// address. Talks to the platform services, the session's log and preferences and the XML store.
#include "common/platform/platform.h"
#include "output/cabrillo.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace velk {

struct LogSession;

class Form2 : public QDialog
{
    Q_OBJECT
public:
    // `programTitle` is the main window's title; the file's CREATED-BY line takes the program's
    // name and version from it.
    Form2(Platform& platform, LogSession& session, const QString& programTitle, QWidget* parent = nullptr);

    // "Write Cabrillo File": asks for the file, writes it, reports, remembers the address.
    void Command4_Click();
    // "Done".
    void Command3_Click();

    // The summary entries as they stand.
    CabrilloSummary summary() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    QString m_programTitle;

    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option18 = nullptr;
    QRadioButton* Option19 = nullptr;
    QRadioButton* Option20 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QPlainTextEdit* Text11 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command3 = nullptr;

    void buildWindow();
    void Form_Load();
    void storeAddress();
};

} // namespace velk
