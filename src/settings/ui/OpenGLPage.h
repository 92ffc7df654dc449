#pragma once

#include <QWidget>

#include "settings/ui/SettingWidgets.h"

namespace corvane {

// The OpenGL page: the OpenGL driver's switches, three lists and the level-of-detail slider.
class OpenGLPage : public QWidget {
    Q_OBJECT

public:
    OpenGLPage(SettingWidgets& settings, QWidget* parent);
};

}  // namespace corvane
