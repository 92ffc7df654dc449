#pragma once

#include <QString>

namespace corvane {

// Turns the program's texts, written with Windows line breaks ("\r", "\r\n", "\n\r"), into text
// with "\n" breaks; "\r\r" stays a blank line.
QString displayText(const QString& text);

}  // namespace corvane
