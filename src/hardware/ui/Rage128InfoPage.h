#pragma once

#include <QWidget>

namespace corvane {

// The Rage 128 Info page: what the ATI driver records about each adapter, and the versions of
// the Direct3D and OpenGL driver files.
class Rage128InfoPage : public QWidget {
    Q_OBJECT

public:
    explicit Rage128InfoPage(QWidget* parent);
};

}  // namespace corvane
