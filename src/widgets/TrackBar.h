#pragma once

#include <QSlider>
#include <set>

namespace corvane {

// A horizontal slider whose tick marks are placed one by one, as the window's sliders have them:
// at both ends, and wherever SetTick puts one. Setting a position from code (SetPosition) raises
// no change; moving it by hand raises OnChange.
class TTrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Position() const { return value(); }
    // Clamped into the range; raises nothing.
    void SetPosition(int position);
    void SetRange(int minimum, int maximum);
    // Adds a tick mark; one that is already there changes nothing.
    void SetTick(int position);
    // A tick every step, as the clock sliders have them.
    void SetFrequency(int step);
    const std::set<int>& ticks() const { return m_ticks; }

signals:
    void OnChange(TTrackBar* sender);

private:
    void showTicks();
    std::set<int> m_ticks;
};

}  // namespace corvane
