#pragma once
// Doubles of the ports behind the file properties, the memory meter and the
// update-check registration. The sound and drive-size doubles are in tool_fakes.h.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_details.h"
#include "platform/memory_status.h"
#include "platform/registry.h"

namespace tavi::fakes {

// Keys and values in memory, names compared without case as the registry
// does. Every change is recorded as "create KEY", "text KEY|NAME=VALUE",
// "number KEY|NAME=VALUE" or "delete KEY|NAME"; a key or value named in
// `failing` refuses writes and deletions.
class FakeRegistry final : public Registry {
public:
    struct Value {
        bool isNumber = false;
        std::string text;
        uint32_t number = 0;
        std::string name;  // as written
    };
    std::vector<std::string> changes;
    std::set<std::string> failing;  // "KEY" or "KEY|NAME", any case

    void AddKey(RegistryRoot root, const std::string& key);
    void SetText(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text);
    void SetNumber(RegistryRoot root, const std::string& key, const std::string& name, uint32_t number);
    const Value* Find(RegistryRoot root, const std::string& key, const std::string& name) const;

    bool KeyExists(RegistryRoot root, const std::string& key) override;
    bool CreateKey(RegistryRoot root, const std::string& key) override;
    std::optional<std::string> ReadText(RegistryRoot root, const std::string& key, const std::string& name) override;
    std::optional<uint32_t> ReadNumber(RegistryRoot root, const std::string& key, const std::string& name) override;
    bool WriteText(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& text) override;
    bool WriteNumber(RegistryRoot root, const std::string& key, const std::string& name, uint32_t number) override;
    std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;

private:
    static std::string KeyId(RegistryRoot root, const std::string& key);
    bool Fails(const std::string& key, const std::string& name) const;
    std::set<std::string> keys_;
    std::map<std::string, Value> values_;  // KeyId + "|" + lower-case name
};

// Files by exact path. Opening fails `failOpens` times before it answers.
class FakeFileDetails final : public FileDetails {
public:
    std::map<std::string, uint32_t> attributes;
    std::map<std::string, std::string> shortPaths;
    std::map<std::string, FileFacts> facts;
    int failOpens = 0;
    std::vector<std::string> opened;
    std::vector<int> waits;

    std::optional<uint32_t> Attributes(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    std::optional<FileFacts> Open(const std::string& path) override;
    void Wait(int milliseconds) override { waits.push_back(milliseconds); }
};

class FakeMemoryStatus final : public MemoryStatus {
public:
    std::optional<MemoryFigures> figures;
    std::optional<MemoryFigures> Physical() override { return figures; }
};

class FakeSystemResources final : public SystemResources {
public:
    std::map<ResourceKind, int> percents;  // a kind not listed cannot be asked
    std::vector<ResourceKind> asked;
    std::optional<int> FreePercent(ResourceKind kind) override;
};

}  // namespace tavi::fakes
