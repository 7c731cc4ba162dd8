#include "tests/doubles/MemoryRegistry.h"

#include <algorithm>

namespace cq {

struct MemoryRegistry::Node {
    struct Value {
        std::string name;
        RegType type;
        std::vector<std::uint8_t> data;
    };
    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    std::vector<Value> values;                    // in the order of creation
    std::vector<std::shared_ptr<Node>> children;  // in upper-case name order
};

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upper(a) == upper(b);
}

// The parts of a backslash-separated path; empty parts are skipped, but a path
// may not start with a backslash.
RegStatus splitPath(const std::string& path, std::vector<std::string>& parts) {
    if (!path.empty() && path.front() == '\\') return reg::kBadPathname;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return reg::kSuccess;
}

// The registry redirection of 64-bit Windows, for the one key the add-ins
// register per view: HKEY_CURRENT_USER's Software\Classes\CLSID is
// Software\Classes\Wow6432Node\CLSID in the 32-bit view. This registry
// stands for a 64-bit process, so only KEY_WOW64_32KEY redirects.
void redirectForView(RegKey key, RegAccess access, std::vector<std::string>& parts) {
    if (key != reg::kCurrentUser || (access & reg::kKeyWow64_32Key) == 0) return;
    if (parts.size() >= 3 && sameName(parts[0], "Software") && sameName(parts[1], "Classes") &&
        sameName(parts[2], "CLSID"))
        parts.insert(parts.begin() + 2, "Wow6432Node");
}

RegAccess mapGeneric(RegAccess access) {
    RegAccess out = access & ~(reg::kGenericRead | reg::kGenericWrite | reg::kGenericExecute |
                               reg::kGenericAll | reg::kMaximumAllowed);
    if (access & reg::kGenericRead) out |= reg::kKeyRead;
    if (access & reg::kGenericWrite) out |= reg::kKeyWrite;
    if (access & reg::kGenericExecute) out |= reg::kKeyRead;
    if (access & (reg::kGenericAll | reg::kMaximumAllowed)) out |= reg::kKeyAllAccess;
    return out;
}

}  // namespace

MemoryRegistry::MemoryRegistry() {
    for (RegKey root : {reg::kClassesRoot, reg::kCurrentUser, reg::kLocalMachine, reg::kUsers})
        roots_[root] = std::make_shared<Node>();
}

MemoryRegistry::~MemoryRegistry() = default;

RegStatus MemoryRegistry::enter(RegOp op, const std::string& name) {
    ++calls_[op];
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->op != op || (!it->name.empty() && !sameName(it->name, name))) continue;
        RegStatus status = it->status;
        if (it->times > 0 && --it->times == 0) failures_.erase(it);
        return status;
    }
    return reg::kSuccess;
}

RegStatus MemoryRegistry::resolve(RegKey key, RegAccess needed, std::shared_ptr<Node>& node) const {
    if (auto root = roots_.find(key); root != roots_.end()) {
        node = root->second;
        return reg::kSuccess;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) return reg::kInvalidHandle;
    if ((it->second.access & needed) != needed) return reg::kAccessDenied;
    if (it->second.node->deleted) return reg::kKeyDeleted;
    node = it->second.node;
    return reg::kSuccess;
}

RegKey MemoryRegistry::newHandle(std::shared_ptr<Node> node, RegAccess access) {
    RegKey key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = Handle{std::move(node), mapGeneric(access)};
    return key;
}

RegStatus MemoryRegistry::openKeyEx(RegKey key, const std::string& subKey, RegAccess access,
                                    RegKey& result) {
    result = 0;
    if (RegStatus s = enter(RegOp::OpenKey, subKey)) return s;
    std::shared_ptr<Node> node;
    std::vector<std::string> parts;
    if (RegStatus s = resolve(key, 0, node)) return s;
    if (RegStatus s = splitPath(subKey, parts)) return s;
    redirectForView(key, access, parts);
    for (const std::string& part : parts) {
        auto it = std::find_if(node->children.begin(), node->children.end(),
                               [&](const auto& c) { return sameName(c->name, part); });
        if (it == node->children.end()) return reg::kFileNotFound;
        node = *it;
    }
    result = newHandle(node, access);
    return reg::kSuccess;
}

RegStatus MemoryRegistry::createKeyEx(RegKey key, const std::string& subKey, std::uint32_t,
                                      RegAccess access, RegKey& result,
                                      std::uint32_t* disposition) {
    result = 0;
    if (RegStatus s = enter(RegOp::CreateKey, subKey)) return s;
    std::shared_ptr<Node> node;
    std::vector<std::string> parts;
    if (RegStatus s = resolve(key, 0, node)) return s;
    if (RegStatus s = splitPath(subKey, parts)) return s;
    redirectForView(key, access, parts);
    bool created = false;
    for (const std::string& part : parts) {
        const std::string wanted = upper(part);
        auto it = std::find_if(node->children.begin(), node->children.end(),
                               [&](const auto& c) { return upper(c->name) >= wanted; });
        if (it == node->children.end() || upper((*it)->name) != wanted) {
            auto child = std::make_shared<Node>();
            child->name = part;
            child->parent = node.get();
            it = node->children.insert(it, std::move(child));
            created = true;
        }
        node = *it;
    }
    if (disposition) *disposition = created ? reg::kCreatedNewKey : reg::kOpenedExistingKey;
    result = newHandle(node, access);
    return reg::kSuccess;
}

RegStatus MemoryRegistry::closeKey(RegKey key) {
    if (RegStatus s = enter(RegOp::CloseKey, {})) return s;
    if (roots_.count(key)) return reg::kSuccess;
    return handles_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

RegStatus MemoryRegistry::setValueEx(RegKey key, const std::string& name, RegType type,
                                     const std::uint8_t* data, std::uint32_t size) {
    if (RegStatus s = enter(RegOp::SetValue, name)) return s;
    std::shared_ptr<Node> node;
    if (RegStatus s = resolve(key, reg::kKeySetValue, node)) return s;
    if (data == nullptr && size > 0) return reg::kInvalidParameter;
    std::vector<std::uint8_t> bytes(data, data + size);
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const auto& v) { return sameName(v.name, name); });
    if (it == node->values.end()) {
        node->values.push_back({name, type, std::move(bytes)});
    } else {
        it->type = type;
        it->data = std::move(bytes);
    }
    return reg::kSuccess;
}

RegStatus MemoryRegistry::queryValueEx(RegKey key, const std::string& name, RegType* type,
                                       std::uint8_t* data, std::uint32_t* size) {
    if (RegStatus s = enter(RegOp::QueryValue, name)) return s;
    std::shared_ptr<Node> node;
    if (RegStatus s = resolve(key, reg::kKeyQueryValue, node)) return s;
    if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const auto& v) { return sameName(v.name, name); });
    if (it == node->values.end()) return reg::kFileNotFound;
    if (type) *type = it->type;
    if (size == nullptr) return reg::kSuccess;
    const auto needed = static_cast<std::uint32_t>(it->data.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (data != nullptr) std::copy(it->data.begin(), it->data.end(), data);
    *size = needed;
    return reg::kSuccess;
}

RegStatus MemoryRegistry::deleteValue(RegKey key, const std::string& name) {
    if (RegStatus s = enter(RegOp::DeleteValue, name)) return s;
    std::shared_ptr<Node> node;
    if (RegStatus s = resolve(key, reg::kKeySetValue, node)) return s;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const auto& v) { return sameName(v.name, name); });
    if (it == node->values.end()) return reg::kFileNotFound;
    node->values.erase(it);
    return reg::kSuccess;
}

RegStatus MemoryRegistry::deleteKey(RegKey key, const std::string& subKey) {
    if (RegStatus s = enter(RegOp::DeleteKey, subKey)) return s;
    std::shared_ptr<Node> node;
    std::vector<std::string> parts;
    if (RegStatus s = resolve(key, 0, node)) return s;
    if (RegStatus s = splitPath(subKey, parts)) return s;
    for (const std::string& part : parts) {
        auto it = std::find_if(node->children.begin(), node->children.end(),
                               [&](const auto& c) { return sameName(c->name, part); });
        if (it == node->children.end()) return reg::kFileNotFound;
        node = *it;
    }
    // An empty path names the key itself; a root cannot go.
    if (node->parent == nullptr || !node->children.empty()) return reg::kAccessDenied;
    auto& siblings = node->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    node->deleted = true;
    node->parent = nullptr;
    return reg::kSuccess;
}

RegStatus MemoryRegistry::flushKey(RegKey key) {
    if (RegStatus s = enter(RegOp::FlushKey, {})) return s;
    std::shared_ptr<Node> node;
    return resolve(key, 0, node);
}

RegStatus MemoryRegistry::enumValue(RegKey key, std::uint32_t index, std::string& name,
                                    std::uint32_t& nameSize) {
    if (RegStatus s = enter(RegOp::EnumValue, {})) return s;
    std::shared_ptr<Node> node;
    if (RegStatus s = resolve(key, reg::kKeyQueryValue, node)) return s;
    if (index >= node->values.size()) return reg::kNoMoreItems;
    const std::string& found = node->values[index].name;
    if (found.size() + 1 > nameSize) return reg::kMoreData;
    name = found;
    nameSize = static_cast<std::uint32_t>(found.size());
    return reg::kSuccess;
}

RegStatus MemoryRegistry::enumKeyEx(RegKey key, std::uint32_t index, std::string& name,
                                    std::uint32_t& nameSize) {
    if (RegStatus s = enter(RegOp::EnumKey, {})) return s;
    std::shared_ptr<Node> node;
    if (RegStatus s = resolve(key, reg::kKeyEnumerateSubKeys, node)) return s;
    if (index >= node->children.size()) return reg::kNoMoreItems;
    const std::string& found = node->children[index]->name;
    if (found.size() + 1 > nameSize) return reg::kMoreData;
    name = found;
    nameSize = static_cast<std::uint32_t>(found.size());
    return reg::kSuccess;
}

int MemoryRegistry::openHandles() const { return static_cast<int>(handles_.size()); }

int MemoryRegistry::calls(RegOp op) const {
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

void MemoryRegistry::failOn(RegOp op, RegStatus status, std::string name, int times) {
    if (times == 0) return;
    failures_.push_back({op, status, std::move(name), times});
}

void MemoryRegistry::clearFailures() { failures_.clear(); }

}  // namespace cq
