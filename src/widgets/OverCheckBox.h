#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/DialogCharTarget.h"

class QMouseEvent;

namespace corvane {

// The on/off control of every setting: a windowless control drawing one of five images, where
// only the opaque pixels of the unchecked image react to the mouse. It has its own Enabled flag,
// separate from the toolkit's: a disabled box still gets the mouse and raises OnClick, but keeps
// its state and ignores assignments to Checked. A click raises OnClick before the box flips.
class TOverCheckBox : public QWidget, public DialogCharTarget {
    Q_OBJECT

public:
    enum class VisualState { Unchecked = 0, Checked = 1, Disabled = 2 };
    using ClickHandler = std::function<void(TOverCheckBox* sender)>;
    using MouseHandler = std::function<void(TOverCheckBox* sender, QMouseEvent* event)>;

    explicit TOverCheckBox(QWidget* parent = nullptr);

    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    QColor TransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(const QColor& color) { m_transparentColor = color; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    const QImage& BitmapUnchecked() const { return m_images[Unchecked]; }
    const QImage& BitmapChecked() const { return m_images[CheckedImage]; }
    const QImage& BitmapOverUnchecked() const { return m_images[OverUnchecked]; }
    const QImage& BitmapOverChecked() const { return m_images[OverChecked]; }
    const QImage& BitmapDisabled() const { return m_images[DisabledImage]; }
    void SetBitmapUnchecked(const QImage& image);
    void SetBitmapChecked(const QImage& image) { setImage(CheckedImage, image); }
    void SetBitmapOverUnchecked(const QImage& image);
    void SetBitmapOverChecked(const QImage& image) { setImage(OverChecked, image); }
    void SetBitmapDisabled(const QImage& image) { setImage(DisabledImage, image); }

    // Raised first by a mouse release on the box or by its accelerator; then the box flips.
    void Click();
    // True on an opaque pixel of the unchecked image (everywhere when there is no image).
    bool HitTest(const QPoint& point) const;
    VisualState visualState() const { return m_visualState; }
    bool mouseInside() const { return m_mouseInside; }
    // The image drawn now, as chosen by the visual state and the mouse.
    const QImage& currentImage() const;

    bool dialogChar(QChar key) override;

    ClickHandler OnClick;
    MouseHandler OnMouseDown;
    MouseHandler OnMouseMove;
    MouseHandler OnMouseUp;

    // The image's transparent colour: its bottom-left pixel.
    static QColor transparentColorOf(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum Image { Unchecked, CheckedImage, OverUnchecked, OverChecked, DisabledImage, kImages };
    void setImage(Image which, const QImage& image);
    int currentIndex() const;
    void rebuildSizeAndMask(const QImage& source);
    void setMouseInside(bool inside);

    bool m_checked = false;
    bool m_enabled = true;
    VisualState m_visualState = VisualState::Unchecked;
    bool m_mouseInside = false;
    QColor m_transparentColor = Qt::white;
    QString m_caption;
    QImage m_images[kImages];
    QPixmap m_pixmaps[kImages];  // the images with their transparent colour made transparent
    QImage m_hitMask;            // 1 = transparent, 0 = opaque
};

}  // namespace corvane
