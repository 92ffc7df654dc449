#pragma once

#include <Qt>

namespace corvane {

// The text flags of a label: expanded tabs, its horizontal alignment, word breaks when wrapping,
// and the accelerator underlined when "&" marks one.
int labelTextFlags(Qt::Alignment alignment, bool wordWrap, bool showAccelChar);

}  // namespace corvane
