#include "hardware/ui/Rage128InfoPage.h"

#include <QSignalBlocker>
#include <stdexcept>

#include "widgets/Form.h"

namespace corvane {

namespace {

struct Row {
    const char* caption;
    const char* label;
};

}  // namespace

Rage128InfoPage::Rage128InfoPage(QWidget* parent) : QWidget(parent) {
    setObjectName("RageInfo");
    QGroupBox* general =
        form::group(this, " General Informations ", QRect(8, 8, 482, 206), "GeneralInfoGroup");
    form::label(general, "Chip ID:", QPoint(12, 24), "ChipIdCaption");
    ChipIdCB = form::list(general, "ChipIdCB", {}, QRect(96, 20, 140, 21));
    const auto rows = [this](QGroupBox* group, std::initializer_list<Row> list, int left,
                             int valueLeft, int top) {
        for (const Row& row : list) {
            form::label(group, row.caption, QPoint(left, top), QString(row.label) + "Caption");
            m_labels[row.label] = form::label(group, "n/a", QPoint(valueLeft, top), row.label);
            top += 26;
        }
    };
    rows(general,
         {{"Bus Type:", "BusTypeLbl"},
          {"Bus mastering:", "BusMasteringLbl"},
          {"Bios date:", "BiosDateLbl"},
          {"Part number:", "PartNumberLbl"},
          {"Bios version:", "BiosVersionLbl"}},
         12, 96, 50);
    rows(general,
         {{"Memory size:", "MemSizeLbl"},
          {"Memory type:", "MemTypeLbl"},
          {"Primary:", "PrimaryLbl"},
          {"All in Wonder:", "AIWLbl"},
          {"Direct 3D ver.:", "D3DVersionLbl"},
          {"OpenGL ver.:", "OpenGLVersionLbl"}},
         250, 340, 24);
    QGroupBox* videoIn = form::group(this, " Video In ", QRect(8, 222, 237, 112), "VideoInGroup");
    rows(videoIn, {{"Tuner type:", "TunerTypeLbl"}, {"Chip type:", "InChipTypeLbl"}}, 12, 84, 28);
    QGroupBox* videoOut =
        form::group(this, " Video Out ", QRect(253, 222, 237, 112), "VideoOutGroup");
    rows(videoOut, {{"Chip type:", "OutChipTypeLbl"}}, 12, 84, 28);
}

TCheckLabel* Rage128InfoPage::label(const std::string& name) const {
    const auto it = m_labels.find(name);
    if (it == m_labels.end())
        throw std::out_of_range("the Rage 128 Info page has no label " + name);
    return it->second;
}

std::string Rage128InfoPage::text(const std::string& name) const {
    return label(name)->Caption().toStdString();
}

void Rage128InfoPage::setText(const std::string& name, const std::string& text) {
    label(name)->SetCaption(QString::fromStdString(text));
}

void Rage128InfoPage::ReadChipIds(TRegistry& registry, Dialogs& dialogs) {
    m_chips = corvane::ReadChipIds(registry);
    const QSignalBlocker quiet(ChipIdCB);
    ChipIdCB->clear();
    for (const std::string& chipId : m_chips.chipIds)
        ChipIdCB->addItem(QString::fromStdString(chipId));
    if (ChipIdCB->count() == 0) return;
    ChipIdCB->setCurrentIndex(0);
    ReadATIInfo(registry, m_chips.keyPaths[0], *this, dialogs);
    m_lastChipIndex = 0;
}

void Rage128InfoPage::ChipIdCBChange(TRegistry& registry, Dialogs& dialogs) {
    const int index = ChipIdCB->currentIndex();
    if (index != m_lastChipIndex && index >= 0 &&
        static_cast<std::size_t>(index) < m_chips.keyPaths.size()) {
        ReadATIInfo(registry, m_chips.keyPaths[static_cast<std::size_t>(index)], *this, dialogs);
    }
    m_lastChipIndex = index;
}

void Rage128InfoPage::showVersion(const std::string& name, bool found,
                                  const std::uint16_t version[4]) {
    // The third number is not shown.
    setText(name, found ? std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
                              std::to_string(version[3])
                        : "n/a");
}

}  // namespace corvane
