#pragma once

#include <QChar>
#include <QString>

namespace corvane {

// A control that answers accelerator keys (Alt + the letter marked with "&" in its caption).
class DialogCharTarget {
public:
    virtual ~DialogCharTarget() = default;
    // True when the control took the key; it then goes no further.
    virtual bool dialogChar(QChar key) = 0;
};

// True when key is the accelerator of caption: the character after a single "&", compared
// without regard to case.
bool isAccel(QChar key, const QString& caption);

}  // namespace corvane
