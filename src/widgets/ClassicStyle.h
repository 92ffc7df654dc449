#pragma once

#include <QProxyStyle>

namespace corvane {

// The toolkit's Windows style with tabs as narrow as Windows 9x draws them, so that the eight
// pages' tabs fit the window in one row.
class ClassicStyle : public QProxyStyle {
public:
    ClassicStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

}  // namespace corvane
