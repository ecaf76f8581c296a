#pragma once
// SummarySheetDialog: the "Summary Sheet Information" window. Collects what the Cabrillo file needs beyond
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

class LogSession;

class SummarySheetDialog : public QDialog
{
    Q_OBJECT
public:
    // `programTitle` is the main window's title; the file's CREATED-BY line takes the program's
    // name and version from it.
    SummarySheetDialog(Platform& platform, LogSession& session, const QString& programTitle,
                       QWidget* parent = nullptr);

    // "Write Cabrillo File": asks for the file, writes it, reports, remembers the address.
    void writeFile();
    // "Done".
    void pressDone();

    // The summary entries as they stand.
    CabrilloSummary summary() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    QString m_programTitle;

    QLineEdit* sectionBox = nullptr;
    QLineEdit* operatorsBox = nullptr;
    QRadioButton* singleOption = nullptr;
    QRadioButton* multiTwoOption = nullptr;
    QRadioButton* highPowerOption = nullptr;
    QRadioButton* lowPowerOption = nullptr;
    QRadioButton* qrpOption = nullptr;
    QLineEdit* nameBox = nullptr;
    QLineEdit* addressLine1Box = nullptr;
    QLineEdit* addressLine2Box = nullptr;
    QLineEdit* emailBox = nullptr;
    QPlainTextEdit* soapboxBox = nullptr;
    QPushButton* writeButton = nullptr;
    QPushButton* doneButton = nullptr;

    void buildWindow();
    void load();
    void storeAddress();
};

} // namespace velk
