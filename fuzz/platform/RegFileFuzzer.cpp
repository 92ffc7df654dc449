// The .reg reader and writer: a file of any bytes that reads at all reads the same whole and
// lazily, saves bytes that read back to the same tree, and that second tree saves the same bytes.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace {

using corvane::RegistryTree;

// Every key below the roots, depth first in enumeration order, with every value.
void dump(const RegistryTree& tree, std::uint32_t key, std::string& out) {
    out += '[';
    out += tree.keyPath(key);
    out += "]\n";
    for (std::size_t i = 0; i < tree.valueCount(key); ++i) {
        const std::string name(tree.valueName(key, i));
        std::uint32_t type = 0;
        const std::string* data = nullptr;
        if (!tree.value(key, name, type, data)) std::abort();  // a listed value must be found
        out += name + "=" + std::to_string(type) + ":" + *data + "\n";
    }
    for (const std::uint32_t child : tree.subkeys(key))
        dump(tree, child, out);
}

std::string dump(const RegistryTree& tree) {
    std::string out;
    for (const std::string_view root : corvane::regsyntax::kRoots) {
        const std::uint32_t key = tree.findKey(root);
        if (key != RegistryTree::kNoKey) dump(tree, key, out);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    RegistryTree lazy;
    try {
        // Pieces and kept keys vary with the input, so that line ends fall everywhere in a piece.
        lazy = RegistryTree::parseLazily(bytes, {1 + size % 61, 1 + size % 3});
    } catch (const corvane::RegFormatError&) {
        try {
            RegistryTree::parse(bytes);
        } catch (const corvane::RegFormatError&) {
            return 0;
        }
        std::abort();  // the two readers must refuse the same files
    }
    const RegistryTree full = RegistryTree::parse(bytes);
    const std::string saved = lazy.serialize();
    if (saved != full.serialize()) std::abort();
    const std::string tree = dump(full);
    if (dump(lazy) != tree) std::abort();
    // Read line by line into values, the file reads as the index reads it.
    try {
        if (dump(RegistryTree::parseWhole(bytes)) != tree) std::abort();
    } catch (const corvane::RegFormatError&) {
        std::abort();
    }
    const RegistryTree again = RegistryTree::parse(saved);
    if (dump(again) != tree) std::abort();
    if (again.serialize() != saved) std::abort();
    return 0;
}
