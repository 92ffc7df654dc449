#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "settings/Registry.h"

namespace corvane {

inline constexpr const char* kCdsKey = "\\Software\\ATI Technologies\\CDS\\";

// The labels of the Rage 128 Info page that show an adapter's facts, by name.
class ChipInfoLabels {
public:
    virtual ~ChipInfoLabels() = default;
    virtual std::string text(const std::string& label) const = 0;
    virtual void setText(const std::string& label, const std::string& text) = 0;
};

// The adapters the ATI driver records, in the order of its CDS key, skipping instances without an
// "\0\ASIC" key: the cleaned "Chip ID" of each and the path of its "\0" key.
struct ChipList {
    std::vector<std::string> chipIds;
    std::vector<std::string> keyPaths;     // ChipKeyPaths: parallel to chipIds
    std::vector<std::string> cdsKeyNames;  // CdsKeyNames: the instances kept
};

// The text of a driver's fact as shown: the part before the first "(", blanks trimmed. A text
// without "(" is shown whole, trimmed.
std::string TrimBeforeParen(const std::string& text);

// Enumerates the adapters below the CDS key.
ChipList ReadChipIds(TRegistry& registry);

// Fills the labels from one adapter's keys (keyPath: its "\0" key). A value that is not text ends
// the reading with "Error in ReadATIInfo:" and the message; the labels not reached keep their
// texts.
void ReadATIInfo(TRegistry& registry, const std::string& keyPath, ChipInfoLabels& labels,
                 Dialogs& dialogs);

}  // namespace corvane
