#include "widgets/ASLink.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include "platform/qt/DisplayText.h"
#include "widgets/LabelTextFlags.h"

namespace corvane {

QString urlPrefix(TURLType type) {
    switch (type) {
        case TURLType::utFile:
            return "file://";
        case TURLType::utFtp:
            return "ftp://";
        case TURLType::utGopher:
            return "gopher://";
        case TURLType::utHttp:
            return "http://";
        case TURLType::utHttps:
            return "https://";
        case TURLType::utMailto:
            return "mailto:";
        case TURLType::utNews:
            return "news:";
        case TURLType::utTelnet:
            return "telnet:";
        case TURLType::utWais:
            return "wais:";
    }
    return {};
}

TASLink::TASLink(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(65, 17);
}

void TASLink::SetCaption(const QString& caption) {
    m_caption = caption;
    adjustBounds();
    update();
}

void TASLink::SetAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void TASLink::SetAutoSize(bool autoSize) {
    m_autoSize = autoSize;
    adjustBounds();
}

void TASLink::SetLayout(TTextLayout layout) {
    m_layout = layout;
    update();
}

void TASLink::SetShadowColor(const QColor& color) {
    m_shadowColor = color;
    update();
}

void TASLink::SetShadowSize(int size) {
    m_shadowSize = std::clamp(size, 0, 255);
    adjustBounds();
    update();
}

void TASLink::SetShadowPos(TShadowPosition position) {
    m_shadowPos = position;
    update();
}

void TASLink::SetShowAccelChar(bool show) {
    m_showAccelChar = show;
    update();
}

void TASLink::SetShowFocus(bool show) {
    m_showFocus = show;
    update();
}

void TASLink::SetTransparent(bool transparent) {
    m_transparent = transparent;
    update();
}

void TASLink::SetWordWrap(bool wordWrap) {
    m_wordWrap = wordWrap;
    adjustBounds();
}

void TASLink::SetFontColor(const QColor& color) {
    m_fontColor = color;
    update();
}

void TASLink::SetColor(const QColor& color) {
    m_color = color;
    update();
}

QString TASLink::Address() const {
    return m_urlTypeAdd ? urlPrefix(m_urlType) + m_link : m_link;
}

void TASLink::Click() {
    if (OnClick) OnClick(this);
    // The address goes over whole: nothing is cut to fit a buffer.
    if (!m_link.isEmpty() && m_urlEnabled && m_opener != nullptr)
        m_opener->open(Address().toStdString());
    update();
}

int TASLink::textFlags() const {
    return labelTextFlags(m_alignment, m_wordWrap, m_showAccelChar);
}

QRect TASLink::drawText(QPainter* painter, const QRect& target, bool aligned) const {
    QString text = displayText(m_caption);
    if (painter == nullptr && (text.isEmpty() || (m_showAccelChar && text == "&"))) text += ' ';
    QColor textColor = m_fontColor;
    QColor shadowColor = m_shadowColor;
    int size = m_shadowSize;
    TShadowPosition position = m_shadowPos;
    if (!isEnabled()) {
        textColor = QColor(128, 128, 128);
        shadowColor = QColor(255, 255, 255);
        if (size == 0) {
            size = 1;
            position = TShadowPosition::spRightBottom;
        }
    }
    QRect textRect = target;
    QRect shadowRect = target;
    switch (position) {
        case TShadowPosition::spLeftTop:
            textRect.translate(size, size);
            break;
        case TShadowPosition::spLeftBottom:
            textRect.translate(size, 0);
            shadowRect.translate(0, size);
            break;
        case TShadowPosition::spRightBottom:
            shadowRect.translate(size, size);
            break;
        case TShadowPosition::spRightTop:
            textRect.translate(0, size);
            shadowRect.translate(size, 0);
            break;
    }
    const int flags = aligned ? textFlags() : textFlags() & ~(Qt::AlignRight | Qt::AlignHCenter);
    const QRect measuredText = fontMetrics().boundingRect(textRect, flags, text);
    const QRect measuredShadow = fontMetrics().boundingRect(shadowRect, flags, text);
    if (painter != nullptr) {
        painter->setFont(font());
        painter->setPen(shadowColor);
        painter->drawText(shadowRect, flags, text);
        painter->setPen(textColor);
        painter->drawText(textRect, flags, text);
    }
    return measuredText.united(measuredShadow);
}

void TASLink::adjustBounds() {
    if (!m_autoSize) return;
    const QRect area = rect().adjusted(1, 0, -1, 0);
    const QRect target(area.left(), area.top(), m_wordWrap ? area.width() : 1 << 20, 1 << 20);
    // Measured from the left edge: centring or right-aligning in the unbounded measuring width
    // would put the text a million pixels away.
    const QRect measured = drawText(nullptr, target, false);
    const int oldWidth = width();
    const int r = measured.right() + 1;
    int left = x();
    if (m_alignment & Qt::AlignRight) left += oldWidth - r;
    setGeometry(left, y(), r + 1, measured.bottom() + 1);
}

void TASLink::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_transparent) painter.fillRect(rect(), Color());
    QRect target = rect().adjusted(1, 0, -1, 0);
    if (m_layout != TTextLayout::tlTop) {
        const QRect measured = drawText(nullptr, target);
        const int spare = height() - (measured.bottom() + 1);
        target.translate(0, m_layout == TTextLayout::tlBottom ? spare : spare / 2);
    }
    drawText(&painter, target);
}

void TASLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

void TASLink::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_colorBeforeHover = m_fontColor;
    m_fontColor = m_linkColor;
    update();
}

void TASLink::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (m_colorBeforeHover.isValid()) m_fontColor = m_colorBeforeHover;
    update();
}

void TASLink::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustBounds();
        update();
    }
}

bool TASLink::dialogChar(QChar key) {
    if (!isEnabled() || !m_showAccelChar || !isAccel(key, m_caption)) return false;
    if (!m_focusControl || !m_focusControl->isVisible() || !m_focusControl->isEnabled())
        return false;
    m_focusControl->setFocus(Qt::ShortcutFocusReason);
    return true;
}

}  // namespace corvane
