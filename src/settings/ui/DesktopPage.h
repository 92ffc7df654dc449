#pragma once

#include <QWidget>

#include "settings/ui/SettingWidgets.h"

namespace corvane {

// The Desktop page: whether the display properties show the Direct3D and OpenGL tabs, and the
// ATI tray icon.
class DesktopPage : public QWidget {
    Q_OBJECT

public:
    DesktopPage(SettingWidgets& settings, QWidget* parent);

    // Windows NT has no Direct3D tab: its row goes and the two rows below move up.
    void applyWindowsNtLayout();

    TOverCheckBox* D3DTab;
    TCheckLabel* Label36;
    TOverCheckBox* OpenGLTab;
    TCheckLabel* OpenGLTabLbl;
    TOverCheckBox* EnableIcon;
    TCheckLabel* EnableIconLbl;
};

}  // namespace corvane
