#include "settings/ui/SettingWidgets.h"

#include <QSignalBlocker>
#include <stdexcept>

#include "widgets/Form.h"

namespace corvane {

namespace {

template <typename T>
T* known(const std::map<std::string, QPointer<T>>& controls, const std::string& id,
         const char* kind) {
    const auto it = controls.find(id);
    if (it == controls.end() || it->second.isNull())
        throw std::out_of_range(std::string("the window has no ") + kind + " named " + id);
    return it->second.data();
}

}  // namespace

SettingWidgets::SettingWidgets(std::function<bool()> direct3DVisible)
    : m_direct3DVisible(std::move(direct3DVisible)) {}

void SettingWidgets::addCheck(const std::string& id, TOverCheckBox* box, TCheckLabel* caption) {
    m_boxes[id] = box;
    m_captions[id] = caption;
}

void SettingWidgets::addList(const std::string& id, QComboBox* list, TCheckLabel* caption) {
    m_lists[id] = list;
    m_captions[id] = caption;
}

void SettingWidgets::addSlider(const std::string& id, TTrackBar* slider, TCheckLabel* caption) {
    m_sliders[id] = slider;
    m_captions[id] = caption;
}

void SettingWidgets::addLabel(const std::string& id, TCheckLabel* label) {
    m_labels[id] = label;
}

TOverCheckBox* SettingWidgets::box(const std::string& id) const {
    return known(m_boxes, id, "check box");
}

QComboBox* SettingWidgets::list(const std::string& id) const {
    return known(m_lists, id, "list");
}

TTrackBar* SettingWidgets::slider(const std::string& id) const {
    return known(m_sliders, id, "slider");
}

TCheckLabel* SettingWidgets::label(const std::string& id) const {
    return known(m_labels, id, "label");
}

TCheckLabel* SettingWidgets::caption(const std::string& id) const {
    return known(m_captions, id, "control with a caption");
}

void SettingWidgets::onUserChange(const std::string& id, ChangeHandler handler) {
    if (m_boxes.count(id)) {
        box(id)->OnClick = [handler](TOverCheckBox* sender) { handler(sender); };
    } else if (m_lists.count(id)) {
        QComboBox* combo = list(id);
        QObject::connect(combo, &QComboBox::activated, combo, [handler, combo] { handler(combo); });
    } else {
        TTrackBar* bar = slider(id);
        QObject::connect(bar, &TTrackBar::OnChange, bar, [handler](TTrackBar* s) { handler(s); });
    }
}

bool SettingWidgets::checked(const std::string& id) const {
    return box(id)->Checked();
}

void SettingWidgets::setChecked(const std::string& id, bool checked) {
    box(id)->SetChecked(checked);
}

bool SettingWidgets::checkEnabled(const std::string& id) const {
    return box(id)->Enabled();
}

void SettingWidgets::setCheckEnabled(const std::string& id, bool enabled) {
    box(id)->SetEnabled(enabled);
}

int SettingWidgets::itemIndex(const std::string& id) const {
    return list(id)->currentIndex();
}

void SettingWidgets::setItemIndex(const std::string& id, int index) {
    QComboBox* combo = list(id);
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int SettingWidgets::position(const std::string& id) const {
    return slider(id)->Position();
}

void SettingWidgets::setPosition(const std::string& id, int position) {
    slider(id)->SetPosition(position);
}

void SettingWidgets::setLabelText(const std::string& id, const std::string& text) {
    label(id)->SetCaption(QString::fromStdString(text));
}

void SettingWidgets::setLabelHint(const std::string& id, const std::string& hint) {
    form::setHint(caption(id), QString::fromStdString(hint));
}

bool SettingWidgets::direct3DVisible() const {
    return m_direct3DVisible();
}

}  // namespace corvane
