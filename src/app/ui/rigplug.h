#pragma once
// RigPlug: the radio in the main window: the rig setup, tuning and privileges windows with their
// menu items and Ctrl keys, and the radio link's failures reported to the operator.
#include "app/ui/shell.h"

#include <QObject>

class QAction;

namespace velk {

class RigSetupWindow;

class RigPlug : public QObject
{
    Q_OBJECT
public:
    explicit RigPlug(const Shell& shell);

    QAction* setupAction() const { return m_setupAction; }
    QAction* privilegesAction() const { return m_privilegesAction; }

    void showRigSetup();
    // After the port failed to open: modal until the operator has put it right.
    void showRigSetupForCorrection();
    void showRigTuning();
    void showPrivileges();

private:
    void reportLinkFailures();
    RigSetupWindow& rigSetup();

    Shell m_shell;
    QAction* m_setupAction = nullptr;
    QAction* m_privilegesAction = nullptr;
    RigSetupWindow* m_rigSetup = nullptr;
};

} // namespace velk
