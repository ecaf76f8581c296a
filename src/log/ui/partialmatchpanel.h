#pragma once
// PartialMatchPanel: the line of known calls beside the call box while a call is typed: dupes on
// the current band on the dupe colour, calls worked on another band underlined, near matches
// behind an "N+1" caption. A click, or the plug's key, hands a call on; paints what
// PartialMatcher found and decides nothing itself.
#include "log/partialmatcher.h"

#include <QRect>
#include <QWidget>
#include <vector>

namespace velk {

class PartialMatchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PartialMatchPanel(QWidget* parent = nullptr);

    void showMatches(const MatchList& matches);
    void clear() { showMatches(MatchList()); }
    const MatchList& matches() const { return m_matches; }

    // The matches that fit the width, from the left; each has a rectangle.
    int visibleCount() const { return static_cast<int>(m_rects.size()); }
    QRect matchRect(int index) const { return m_rects.at(static_cast<std::size_t>(index)); }

    // The next shown match (the first after new matches) or the one before, wrapping; its call
    // goes out through callChosen. The panel keeps its matches, so repeating walks the line.
    void takeNext();
    void takePrevious();
    // The match last taken, -1 when none.
    int takenIndex() const { return m_taken; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void callChosen(const QString& call);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    MatchList m_matches;
    std::vector<QRect> m_rects;
    int m_taken = -1;
    int m_captionWidth = 0;

    void placeMatches();
    void take(int index);
    void describeForScreenReaders();
};

} // namespace velk
