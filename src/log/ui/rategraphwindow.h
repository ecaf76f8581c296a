#pragma once
// RateGraphWindow: the activity graph window. Plots the hourly contact rate over the whole log with the
// band bar underneath, on a white or black background. Reads the log through RateGraph and
// changes nothing; the message for a short log goes through the prompter.
#include "common/platform/platform.h"
#include "log/rategraph.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace velk {

class ContactLog;

class RateGraphWindow : public QDialog
{
    Q_OBJECT
public:
    RateGraphWindow(Platform& platform, const ContactLog& log, QWidget* parent = nullptr);

    // Sizes the window to the screen and draws the graph once.
    void load();
    // Recomputes the graph from the log, fills the axis labels and repaints.
    void drawGraph();
    // The background switch: white to black and back, then a fresh drawing.
    void toggleBackground();

    const RateGraph& graph() const { return m_graph; }
    bool blackBackground() const { return m_black; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Platform& m_platform;
    const ContactLog& m_log;
    RateGraph m_graph;
    bool m_black = false;

    std::array<QLabel*, 15> timeLabels{};
    std::array<QLabel*, 15> dateLabels{};
    std::array<QLabel*, 17> rateLabels{};
    std::array<QLabel*, 7> bandLabels{};
    QLabel* bandCaption = nullptr;
    QPushButton* backgroundButton = nullptr;

    // The plot area: left and right edges, top, and the baseline of the rate curve.
    double plotLeft() const;
    double plotRight() const;
    double plotTop() const;
    double plotBaseline() const;
    double barTop() const;
    double barBottom() const;
    double columnWidth() const;
    double columnX(double column) const;

    void buildWindow();
    void applyLook();
    void placeLabels();
};

} // namespace velk
