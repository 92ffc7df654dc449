#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/RegistryStore.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

// A registry held in memory, with the semantics of the Windows registry that the program relies
// on. The file store builds on it; tests use it as it is.
class MemoryRegistryStore : public RegistryStore {
public:
    MemoryRegistryStore();
    explicit MemoryRegistryStore(RegistryTree tree);

    long openKey(win::RegHandle parent, std::string_view subKey, win::RegHandle& result) override;
    long createKey(win::RegHandle parent, std::string_view subKey, win::RegHandle& result) override;
    long closeKey(win::RegHandle key) override;
    long queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override;
    long setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long deleteValue(win::RegHandle key, std::string_view name) override;
    long queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                      std::uint32_t* maxSubKeyLen) override;
    long enumKey(win::RegHandle key, std::uint32_t index, std::string& name) override;
    void beginUpdate() override;
    std::string endUpdate() override;

    const RegistryTree& tree() const { return m_tree; }
    std::size_t openHandleCount() const { return m_handles.size(); }

protected:
    // Hooks for a store that keeps the tree somewhere: refresh runs before every top-level
    // operation, record after every change, save after every top-level operation that changed
    // something (an empty result means saved).
    virtual void refresh() {}
    virtual void record(const RegChange&) {}
    virtual std::string save() { return {}; }

    void replaceTree(RegistryTree tree);
    RegistryTree& mutableTree() { return m_tree; }

private:
    class Operation;
    struct Handle {
        std::string path;
        std::uint32_t key = RegistryTree::kNoKey;
        std::uint64_t generation = 0;
    };

    std::uint32_t resolve(win::RegHandle handle, long& error);
    long childPath(win::RegHandle parent, std::string_view subKey, std::string& path);
    win::RegHandle addHandle(std::uint32_t key);
    long change(const RegChange& change);
    bool saveNow();

    RegistryTree m_tree;
    std::unordered_map<win::RegHandle, Handle> m_handles;
    win::RegHandle m_nextHandle = 0x100;
    std::uint64_t m_generation = 1;
    int m_depth = 0;
    bool m_dirty = false;
};

}  // namespace corvane
