#include "fakes/info_fakes.h"

namespace tavi::fakes {
namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string FakeRegistry::KeyId(RegistryRoot root, const std::string& key) {
    return (root == RegistryRoot::ClassesRoot ? "hkcr\\" : "hkcu\\") + Lower(key);
}

bool FakeRegistry::Fails(const std::string& key, const std::string& name) const {
    for (const std::string& failure : failing)
        if (Lower(failure) == Lower(key) || Lower(failure) == Lower(key + "|" + name)) return true;
    return false;
}

void FakeRegistry::AddKey(RegistryRoot root, const std::string& key) { keys_.insert(KeyId(root, key)); }

void FakeRegistry::SetText(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& text) {
    AddKey(root, key);
    values_[KeyId(root, key) + "|" + Lower(name)] = Value{false, text, 0, name};
}

void FakeRegistry::SetNumber(RegistryRoot root, const std::string& key, const std::string& name, uint32_t number) {
    AddKey(root, key);
    values_[KeyId(root, key) + "|" + Lower(name)] = Value{true, "", number, name};
}

const FakeRegistry::Value* FakeRegistry::Find(RegistryRoot root, const std::string& key,
                                              const std::string& name) const {
    const auto found = values_.find(KeyId(root, key) + "|" + Lower(name));
    return found == values_.end() ? nullptr : &found->second;
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& key) { return keys_.count(KeyId(root, key)) > 0; }

bool FakeRegistry::CreateKey(RegistryRoot root, const std::string& key) {
    if (Fails(key, "")) return false;
    if (!KeyExists(root, key)) changes.push_back("create " + key);
    AddKey(root, key);
    return true;
}

std::optional<std::string> FakeRegistry::ReadText(RegistryRoot root, const std::string& key,
                                                  const std::string& name) {
    const Value* value = Find(root, key, name);
    if (!value || value->isNumber) return std::nullopt;
    return value->text;
}

std::optional<uint32_t> FakeRegistry::ReadNumber(RegistryRoot root, const std::string& key, const std::string& name) {
    const Value* value = Find(root, key, name);
    if (!value || !value->isNumber) return std::nullopt;
    return value->number;
}

bool FakeRegistry::WriteText(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& text) {
    if (!KeyExists(root, key) || Fails(key, name)) return false;
    SetText(root, key, name, text);
    changes.push_back("text " + key + "|" + name + "=" + text);
    return true;
}

bool FakeRegistry::WriteNumber(RegistryRoot root, const std::string& key, const std::string& name,
                               uint32_t number) {
    if (!KeyExists(root, key) || Fails(key, name)) return false;
    SetNumber(root, key, name, number);
    changes.push_back("number " + key + "|" + name + "=" + std::to_string(number));
    return true;
}

std::vector<std::string> FakeRegistry::ValueNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    const std::string prefix = KeyId(root, key) + "|";
    for (const auto& [id, value] : values_)
        if (id.starts_with(prefix)) names.push_back(value.name);
    return names;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
    const auto found = values_.find(KeyId(root, key) + "|" + Lower(name));
    if (found == values_.end()) return true;
    if (Fails(key, name)) return false;
    values_.erase(found);
    changes.push_back("delete " + key + "|" + name);
    return true;
}

std::optional<uint32_t> FakeFileDetails::Attributes(const std::string& path) {
    const auto found = attributes.find(path);
    if (found == attributes.end()) return std::nullopt;
    return found->second;
}

std::string FakeFileDetails::ShortPath(const std::string& path) {
    const auto found = shortPaths.find(path);
    return found == shortPaths.end() ? std::string() : found->second;
}

std::optional<FileFacts> FakeFileDetails::Open(const std::string& path) {
    opened.push_back(path);
    if (failOpens > 0) {
        --failOpens;
        return std::nullopt;
    }
    const auto found = facts.find(path);
    if (found == facts.end()) return std::nullopt;
    return found->second;
}

std::optional<int> FakeSystemResources::FreePercent(ResourceKind kind) {
    asked.push_back(kind);
    const auto found = percents.find(kind);
    if (found == percents.end()) return std::nullopt;
    return found->second;
}

}  // namespace tavi::fakes
