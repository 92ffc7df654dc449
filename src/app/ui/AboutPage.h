#pragma once

#include <QWidget>

#include "platform/ShellOpener.h"

namespace corvane {

// The About page: the version line, credits, the licence notice and links to public pages.
class AboutPage : public QWidget {
    Q_OBJECT

public:
    AboutPage(ShellOpener& shell, QWidget* parent);
};

}  // namespace corvane
