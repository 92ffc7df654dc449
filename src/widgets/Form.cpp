#include "widgets/Form.h"

#include <QImage>
#include "platform/qt/DisplayText.h"

namespace corvane::form {

namespace {

const QImage& checkImage(const char* name) {
    static const QImage off(":/images/CheckOff.bmp");
    static const QImage on(":/images/CheckOn.bmp");
    static const QImage disabled(":/images/CheckDisabled.bmp");
    const QString which(name);
    if (which == "on") return on;
    if (which == "disabled") return disabled;
    return off;
}

}  // namespace

QFont windowFont() {
    QFont font;
    font.setFamilies(
        {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPixelSize(11);
    return font;
}

void setHint(QWidget* widget, const QString& hint) {
    if (hint.isEmpty()) return;
    widget->setToolTip(displayText(hint));
    widget->setToolTipDuration(30000);
}

QGroupBox* group(QWidget* parent, const QString& caption, const QRect& geometry,
                 const QString& name) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(geometry);
    if (!name.isEmpty()) box->setObjectName(name);
    return box;
}

TCheckLabel* label(QWidget* parent, const QString& caption, const QPoint& at, const QString& name) {
    auto* l = new TCheckLabel(parent);
    l->move(at);
    l->SetCaption(caption);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

CheckRow checkRow(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                  int left, int top, const QString& labelName, const QString& labelHint) {
    auto* box = new TOverCheckBox(parent);
    box->setObjectName(name);
    box->SetBitmapUnchecked(checkImage("off"));
    box->SetBitmapChecked(checkImage("on"));
    box->SetBitmapDisabled(checkImage("disabled"));
    box->move(left, top);
    setHint(box, hint);
    TCheckLabel* text = label(parent, caption, QPoint(left + 26, top + 3),
                              labelName.isEmpty() ? name + "Lbl" : labelName);
    text->SetCheckControl(box);
    setHint(text, labelHint.isEmpty() ? hint : labelHint);
    return {box, text};
}

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items,
                const QRect& geometry, const QString& hint) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setGeometry(geometry);
    setHint(combo, hint);
    return combo;
}

TTrackBar* slider(QWidget* parent, const QString& name, int minimum, int maximum,
                  const QRect& geometry, const QString& hint) {
    auto* bar = new TTrackBar(parent);
    bar->setObjectName(name);
    bar->SetRange(minimum, maximum);
    bar->setGeometry(geometry);
    setHint(bar, hint);
    return bar;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

}  // namespace corvane::form
