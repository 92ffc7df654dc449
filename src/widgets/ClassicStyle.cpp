#include "widgets/ClassicStyle.h"

#include <QStyleFactory>

namespace corvane {

ClassicStyle::ClassicStyle() : QProxyStyle(QStyleFactory::create("Windows")) {}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    if (metric == PM_TabBarTabHSpace) return 12;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace corvane
