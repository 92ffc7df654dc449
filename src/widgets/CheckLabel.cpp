#include "widgets/CheckLabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/DisplayText.h"
#include "widgets/LabelTextFlags.h"
#include "widgets/OverCheckBox.h"

namespace corvane {

TCustomCheckLabel::TCustomCheckLabel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(65, 17);
}

QColor TCustomCheckLabel::Color() const {
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TCustomCheckLabel::SetColor(const QColor& color) {
    m_color = color;
    update();
}

void TCustomCheckLabel::SetCaption(const QString& caption) {
    m_caption = caption;
    adjustBounds();
    update();
}

void TCustomCheckLabel::SetCheckControl(TOverCheckBox* control) {
    m_checkControl = control;
}

void TCustomCheckLabel::SetAlignment(Qt::Alignment alignment) {
    if (alignment == m_alignment) return;
    m_alignment = alignment;
    update();
}

void TCustomCheckLabel::SetAutoSize(bool autoSize) {
    if (autoSize == m_autoSize) return;
    m_autoSize = autoSize;
    adjustBounds();
}

void TCustomCheckLabel::SetLayout(TTextLayout layout) {
    if (layout == m_layout) return;
    m_layout = layout;
    update();
}

void TCustomCheckLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == m_wordWrap) return;
    m_wordWrap = wordWrap;
    adjustBounds();
    update();
}

void TCustomCheckLabel::SetShowAccelChar(bool show) {
    if (show == m_showAccelChar) return;
    m_showAccelChar = show;
    update();
}

void TCustomCheckLabel::SetTransparent(bool transparent) {
    if (transparent == m_transparent) return;
    m_transparent = transparent;
    update();
}

int TCustomCheckLabel::textFlags() const {
    return labelTextFlags(m_alignment, m_wordWrap, m_showAccelChar);
}

QString TCustomCheckLabel::drawnText() const {
    return displayText(m_caption);
}

QRect TCustomCheckLabel::measure(const QRect& within) const {
    QString text = drawnText();
    // Nothing to show still takes the room of one blank.
    if (text.isEmpty() || (m_showAccelChar && text == "&")) text = " ";
    const QRect bounds(within.left(), within.top(), m_wordWrap ? within.width() : 1 << 20, 1 << 20);
    return fontMetrics().boundingRect(bounds, textFlags() & ~(Qt::AlignRight | Qt::AlignHCenter),
                                      text);
}

void TCustomCheckLabel::adjustBounds() {
    if (!m_autoSize) return;
    const QRect measured = measure(QRect(0, 0, width(), height()));
    const int newWidth = measured.right() + 1;
    const int newHeight = measured.bottom() + 1;
    // A right-aligned label grows to the left, keeping its right edge.
    int left = x();
    const bool rightAligned = (m_alignment & Qt::AlignRight) != 0;
    if (rightAligned != (layoutDirection() == Qt::RightToLeft)) left = x() + width() - newWidth;
    setGeometry(left, y(), newWidth, newHeight);
}

void TCustomCheckLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_transparent) painter.fillRect(rect(), Color());
    QRect area = rect();
    if (m_layout != TTextLayout::tlTop) {
        const QRect measured = measure(area);
        const int spare = area.height() - measured.height();
        area.translate(0, m_layout == TTextLayout::tlBottom ? spare : spare / 2);
    }
    painter.setFont(font());
    const QString text = drawnText();
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(area, textFlags(), text);
        return;
    }
    painter.setPen(highlightColor());
    painter.drawText(area.translated(1, 1), textFlags(), text);
    painter.setPen(shadowColor());
    painter.drawText(area, textFlags(), text);
}

void TCustomCheckLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

void TCustomCheckLabel::mouseDoubleClickEvent(QMouseEvent*) {
    if (OnDblClick) OnDblClick(this);
}

void TCustomCheckLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustBounds();
        update();
    }
}

bool TCustomCheckLabel::dialogChar(QChar key) {
    if (!isEnabled() || !m_showAccelChar || !isAccel(key, m_caption)) return false;
    bool handled = false;
    if (m_focusControl && m_focusControl->isVisible() && m_focusControl->isEnabled() &&
        m_focusControl->focusPolicy() != Qt::NoFocus) {
        m_focusControl->setFocus(Qt::ShortcutFocusReason);
        handled = true;
    }
    if (m_checkControl) {
        // Exactly a click on the box: its handler sees the state before the flip, and a disabled
        // box keeps its state. The window's handlers (the VR flag, the start-up warning) rely on
        // that order, whichever way the user clicks.
        m_checkControl->Click();
        handled = true;
    }
    return handled;
}

}  // namespace corvane
