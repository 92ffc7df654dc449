#include "widgets/OverCheckBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace corvane {

TOverCheckBox::TOverCheckBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    resize(50, 50);
}

QColor TOverCheckBox::transparentColorOf(const QImage& image) {
    if (image.isNull()) return Qt::white;
    if (image.depth() == 1) return Qt::white;
    return image.pixelColor(0, image.height() - 1);
}

void TOverCheckBox::SetChecked(bool checked) {
    if (checked == m_checked || !m_enabled) return;
    m_checked = checked;
    m_visualState = checked ? VisualState::Checked : VisualState::Unchecked;
    update();
}

void TOverCheckBox::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled) {
        m_visualState = VisualState::Disabled;
    } else {
        m_visualState = m_checked ? VisualState::Checked : VisualState::Unchecked;
    }
    update();
}

void TOverCheckBox::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void TOverCheckBox::setImage(Image which, const QImage& image) {
    m_images[which] = image;
    m_pixmaps[which] = QPixmap();
    if (!image.isNull()) {
        // Pixels of the transparent colour let the parent's background show through.
        QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb transparent = transparentColorOf(image).rgb();
        for (int y = 0; y < keyed.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x) {
                if (line[x] == transparent) line[x] = 0;
            }
        }
        m_pixmaps[which] = QPixmap::fromImage(keyed);
    }
    update();
}

void TOverCheckBox::SetBitmapUnchecked(const QImage& image) {
    setImage(Unchecked, image);
    rebuildSizeAndMask(image);
}

void TOverCheckBox::SetBitmapOverUnchecked(const QImage& image) {
    setImage(OverUnchecked, image);
    if (m_images[Unchecked].isNull()) rebuildSizeAndMask(image);
}

void TOverCheckBox::rebuildSizeAndMask(const QImage& source) {
    if (source.isNull()) {
        m_hitMask = QImage();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return;
    }
    // The control always takes the image's size, whatever size it is given.
    setFixedSize(source.size());
    m_transparentColor = transparentColorOf(source);
    m_hitMask = source.createMaskFromColor(m_transparentColor.rgb(), Qt::MaskInColor);
    update();
}

bool TOverCheckBox::HitTest(const QPoint& point) const {
    if (m_hitMask.isNull()) return true;
    if (!m_hitMask.rect().contains(point)) return false;
    return m_hitMask.pixelIndex(point) == 0;
}

int TOverCheckBox::currentIndex() const {
    switch (m_visualState) {
        case VisualState::Unchecked:
            return m_mouseInside && !m_images[OverUnchecked].isNull() ? OverUnchecked : Unchecked;
        case VisualState::Checked:
            return m_mouseInside && !m_images[OverChecked].isNull() ? OverChecked : CheckedImage;
        case VisualState::Disabled:
            break;
    }
    return m_images[DisabledImage].isNull() ? Unchecked : DisabledImage;
}

const QImage& TOverCheckBox::currentImage() const {
    return m_images[currentIndex()];
}

void TOverCheckBox::paintEvent(QPaintEvent*) {
    const int index = currentIndex();
    if (m_images[index].isNull()) return;
    QPainter painter(this);
    // What lies under the transparent colour is the parent's background, already painted.
    painter.drawPixmap(0, 0, m_pixmaps[index]);
    if (!m_caption.isEmpty()) {
        QRect area = rect();
        if (m_visualState == VisualState::Checked) area.translate(1, 1);
        painter.setFont(font());
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                         m_caption);
    }
}

void TOverCheckBox::setMouseInside(bool inside) {
    if (inside == m_mouseInside) return;
    m_mouseInside = inside;
    update();
}

void TOverCheckBox::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown) OnMouseDown(this, event);
    if (event->button() == Qt::LeftButton && m_enabled && HitTest(event->position().toPoint())) {
        setMouseInside(true);
    }
}

void TOverCheckBox::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(this, event);
    setMouseInside(HitTest(event->position().toPoint()));
}

void TOverCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp) OnMouseUp(this, event);
    if (!HitTest(event->position().toPoint())) return;
    setMouseInside(true);
    if (m_visualState == VisualState::Unchecked) {
        m_visualState = VisualState::Checked;
    } else if (m_visualState == VisualState::Checked) {
        m_visualState = VisualState::Unchecked;
    }
    Click();
    update();
}

void TOverCheckBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setMouseInside(false);
}

void TOverCheckBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) update();
    if (event->type() == QEvent::PaletteChange) rebuildSizeAndMask(m_images[Unchecked]);
}

void TOverCheckBox::Click() {
    if (OnClick) OnClick(this);
    // Through the setter, so that a disabled box keeps its state.
    const bool wanted = !m_checked;
    SetChecked(wanted);
    // The visual state follows Checked again (a disabled box stays disabled).
    if (m_enabled) m_visualState = m_checked ? VisualState::Checked : VisualState::Unchecked;
}

bool TOverCheckBox::dialogChar(QChar key) {
    if (!m_enabled || !isAccel(key, m_caption)) return false;
    Click();
    return true;
}

}  // namespace corvane
