#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "widgets/DialogCharTarget.h"
#include "widgets/OverCheckBox.h"

namespace corvane {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The text label of the window: a standard label (alignment, automatic size, word wrap, layout,
// transparency, accelerator underline, focus link) that can also be linked to a bitmap check
// box, whose state its accelerator toggles. A disabled label is drawn engraved and ignores its
// accelerator.
class TCustomCheckLabel : public QWidget, public DialogCharTarget {
    Q_OBJECT

public:
    using Handler = std::function<void(TCustomCheckLabel* sender)>;

    explicit TCustomCheckLabel(QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* control) { m_focusControl = control; }
    TOverCheckBox* CheckControl() const { return m_checkControl; }
    void SetCheckControl(TOverCheckBox* control);
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool show);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    QColor Color() const;
    void SetColor(const QColor& color);

    bool dialogChar(QChar key) override;

    Handler OnClick;
    Handler OnDblClick;

    // The colours of the engraved text of a disabled label: the system's button highlight and
    // button shadow.
    static QColor highlightColor() { return QColor(255, 255, 255); }
    static QColor shadowColor() { return QColor(128, 128, 128); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int textFlags() const;
    QString drawnText() const;
    QRect measure(const QRect& within) const;
    void adjustBounds();

    QString m_caption;
    QPointer<QWidget> m_focusControl;
    QPointer<TOverCheckBox> m_checkControl;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_autoSize = true;
    TTextLayout m_layout = TTextLayout::tlTop;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    bool m_transparent = false;
    QColor m_color;
};

class TCheckLabel : public TCustomCheckLabel {
    Q_OBJECT

public:
    using TCustomCheckLabel::TCustomCheckLabel;
};

}  // namespace corvane
