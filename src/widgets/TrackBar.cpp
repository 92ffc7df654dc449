#include "widgets/TrackBar.h"

#include <numeric>

namespace corvane {

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
    connect(this, &QSlider::valueChanged, this, [this] { emit OnChange(this); });
    showTicks();
}

void TTrackBar::SetPosition(int position) {
    const QSignalBlocker quiet(this);
    setValue(position);
}

void TTrackBar::SetRange(int minimum, int maximum) {
    const QSignalBlocker quiet(this);
    setRange(minimum, maximum);
    showTicks();
}

void TTrackBar::SetTick(int position) {
    if (m_ticks.insert(position).second) showTicks();
}

void TTrackBar::SetFrequency(int step) {
    for (int p = minimum(); p <= maximum(); p += step)
        m_ticks.insert(p);
    showTicks();
}

void TTrackBar::showTicks() {
    // The style draws evenly spaced ticks from the minimum; the spacing is the largest step that
    // covers every placed tick and both ends.
    std::set<int> all = m_ticks;
    all.insert(minimum());
    all.insert(maximum());
    int step = 0;
    for (const int tick : all)
        step = std::gcd(step, tick - minimum());
    setTickInterval(step > 0 ? step : 1);
}

}  // namespace corvane
