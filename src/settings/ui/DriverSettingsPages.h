#pragma once

#include <QGroupBox>
#include <QWidget>

namespace corvane {

// The driver settings' controls on their pages, created from the settings table: check boxes
// with their check labels, lists and sliders with their caption labels, and the gamma scale.
void buildDesktopPage(QWidget* page);
void buildDirect3DPage(QWidget* page);
void buildOpenGLPage(QWidget* page);
// The HMDLUseAGP row at the top of the Advanced page's settings group.
void buildAdvancedSettings(QGroupBox* group);

}  // namespace corvane
