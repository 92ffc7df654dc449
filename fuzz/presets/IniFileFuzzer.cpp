// TIniFile over the INI back end against the plain model of the profile functions: a file of
// any bytes, then a sequence of reads and writes; every read and every resulting file agree.

#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/ProfileModel.h"
#include "platform/inifile/IniFileProfile.h"
#include "presets/IniFile.h"

namespace {

using corvane::test::ProfileModel;

const std::vector<std::string> kNames = {"Desktop", "desktop", "D3D", " D3D ", "DVD", "a]b", "K",
                                         "k",       "D3DTab",  "x y", "",      ";c",  "=",   "[s]"};
const std::vector<std::string> kValues = {
    "1", "0", "-1", "0x10", " 7 ", "\"q\"", "'a'", "", "yes", "a\nb", std::string(2100, 'z')};

// One folder for the whole run, removed at its end; in memory where the system has such a
// folder, since every input writes files.
class Folder {
public:
    Folder() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        m_path = (base / "corvane-fuzz-XXXXXX").string();
        if (::mkdtemp(m_path.data()) == nullptr) std::abort();
    }
    ~Folder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

const std::string& folder() {
    static const Folder folder;
    return folder.path();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    struct Op {
        int kind;
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Op> ops(in.ConsumeIntegralInRange<std::size_t>(0, 12));
    for (Op& op : ops) {
        op.kind = in.ConsumeIntegralInRange(0, 3);
        op.section = in.PickValueInArray({0, 1, 2}) == 0
                         ? in.ConsumeRandomLengthString(8)
                         : kNames[in.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)];
        op.key = kNames[in.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)];
        op.value = kValues[in.ConsumeIntegralInRange<std::size_t>(0, kValues.size() - 1)];
    }
    const bool exists = in.ConsumeBool();

    ProfileModel model;
    const std::string path = folder() + "/f.ini";
    std::filesystem::remove(path);
    if (exists) {
        model.exists = true;
        model.text = in.ConsumeRemainingBytesAsString();
        writeFile(path, model.text);
    }
    // Text starting with a byte order mark is decoded, which the model does not do.
    if (model.text.starts_with("\xEF\xBB\xBF") || model.text.starts_with("\xFF\xFE") ||
        model.text.starts_with("\xFE\xFF"))
        return 0;

    corvane::IniFileProfile profile;
    corvane::TIniFile file(profile, path);
    for (const Op& op : ops) {
        if (op.section.find('\0') != std::string::npos) continue;
        switch (op.kind) {
            case 0: {
                std::vector<std::string> sections;
                file.ReadSections(sections);
                check(sections == model.sections());
                break;
            }
            case 1:
                check(file.ReadString(op.section, op.key, "'d' ") ==
                      model.read(op.section, op.key, "'d' "));
                break;
            default: {
                bool raised = false;
                try {
                    file.WriteString(op.section, op.key, op.value);
                } catch (const corvane::EIniFileException&) {
                    raised = true;
                }
                check(raised != model.write(op.section, op.key, op.value));
                if (model.exists) check(readFile(path) == model.text);
            }
        }
    }
    return 0;
}
