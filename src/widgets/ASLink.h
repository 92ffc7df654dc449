#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "platform/ShellOpener.h"
#include "widgets/CheckLabel.h"
#include "widgets/DialogCharTarget.h"

namespace corvane {

enum class TURLType {
    utFile,
    utFtp,
    utGopher,
    utHttp,
    utHttps,
    utMailto,
    utNews,
    utTelnet,
    utWais
};
enum class TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// The scheme TASLink puts in front of its link for each URL type.
QString urlPrefix(TURLType type);

// A text label that is a link: its caption with a drop shadow, the link colour while the mouse is
// over it, the hand cursor, and a click that hands its address to the system.
class TASLink : public QWidget, public DialogCharTarget {
    Q_OBJECT

public:
    using Handler = std::function<void(TASLink* sender)>;

    explicit TASLink(QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* control) { m_focusControl = control; }
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(const QColor& color);
    int ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int size);
    TShadowPosition ShadowPos() const { return m_shadowPos; }
    void SetShadowPos(TShadowPosition position);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool show);
    bool ShowFocus() const { return m_showFocus; }
    void SetShowFocus(bool show);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& color);
    QColor Color() const { return m_color.isValid() ? m_color : palette().color(QPalette::Window); }
    void SetColor(const QColor& color);

    QString Link() const { return m_link; }
    void SetLink(const QString& link) { m_link = link; }
    QColor LinkColor() const { return m_linkColor; }
    void SetLinkColor(const QColor& color) { m_linkColor = color; }
    bool URLEnabled() const { return m_urlEnabled; }
    void SetURLEnabled(bool enabled) { m_urlEnabled = enabled; }
    bool URLTypeAdd() const { return m_urlTypeAdd; }
    void SetURLTypeAdd(bool add) { m_urlTypeAdd = add; }
    TURLType URLType() const { return m_urlType; }
    void SetURLType(TURLType type) { m_urlType = type; }

    // Where the link is handed over; nothing is opened without one.
    void SetShellOpener(ShellOpener* opener) { m_opener = opener; }
    // The address a click opens: the link, with the scheme in front when URLTypeAdd is set.
    QString Address() const;
    // What a click does: OnClick, then open the link, then redraw.
    void Click();

    bool dialogChar(QChar key) override;

    Handler OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int textFlags() const;
    // Draws (or, with painter null, measures) the text with its shadow; returns the area covered.
    // Draws the text with its shadow (or only measures it, without a painter) and gives the area
    // covered. Unaligned measures from the left edge whatever the alignment.
    QRect drawText(QPainter* painter, const QRect& target, bool aligned = true) const;
    void adjustBounds();

    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_autoSize = true;
    QPointer<QWidget> m_focusControl;
    TTextLayout m_layout = TTextLayout::tlTop;
    QColor m_shadowColor = QColor(255, 255, 255);
    int m_shadowSize = 1;
    TShadowPosition m_shadowPos = TShadowPosition::spLeftTop;
    bool m_showAccelChar = true;
    bool m_showFocus = false;
    bool m_transparent = true;
    bool m_wordWrap = false;
    QColor m_fontColor = Qt::black;
    QColor m_colorBeforeHover;
    QColor m_color;
    QString m_link;
    QColor m_linkColor = QColor(0, 0, 255);
    bool m_urlEnabled = true;
    bool m_urlTypeAdd = true;
    TURLType m_urlType = TURLType::utMailto;
    ShellOpener* m_opener = nullptr;
};

}  // namespace corvane
