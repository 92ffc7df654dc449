#pragma once

#include <QWidget>

#include "platform/ShellOpener.h"

namespace corvane {

// The About page: the version line, credits, the licence notice and links to public pages.
void buildAboutPage(QWidget* page, ShellOpener& shell);

}  // namespace corvane
