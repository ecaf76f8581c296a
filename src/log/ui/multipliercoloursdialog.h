#pragma once
// MultiplierColoursDialog: the " Modify Multiplier Color Selections" window, where the operator picks the
// colours of worked and remaining multipliers in the location grid. Talks to the prompter's
// colour dialog; the main window stores and applies the result.
#include <QDialog>
#include <cstdint>

class QLabel;

namespace velk {

class Prompter;

class MultiplierColoursDialog : public QDialog
{
    Q_OBJECT
public:
    MultiplierColoursDialog(Prompter& prompter, std::uint32_t worked, std::uint32_t notWorked,
                            QWidget* parent = nullptr);

    std::uint32_t workedColour() const { return m_worked; }
    std::uint32_t notWorkedColour() const { return m_notWorked; }

private:
    Prompter& m_prompter;
    std::uint32_t m_worked;
    std::uint32_t m_notWorked;
    QLabel* workedSample = nullptr;
    QLabel* remainingSample = nullptr;

    void chooseWorkedColour();
    void chooseRemainingColour();
    void paintSamples();
};

} // namespace velk
