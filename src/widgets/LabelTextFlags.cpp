#include "widgets/LabelTextFlags.h"

namespace corvane {

int labelTextFlags(Qt::Alignment alignment, bool wordWrap, bool showAccelChar) {
    int flags = Qt::TextExpandTabs;
    if (wordWrap) flags |= Qt::TextWordWrap;
    if (showAccelChar) flags |= Qt::TextShowMnemonic;
    if (alignment & Qt::AlignRight) {
        flags |= Qt::AlignRight;
    } else if (alignment & Qt::AlignHCenter) {
        flags |= Qt::AlignHCenter;
    } else {
        flags |= Qt::AlignLeft;
    }
    return flags;
}

}  // namespace corvane
