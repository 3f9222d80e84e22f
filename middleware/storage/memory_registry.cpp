#include "middleware/storage/memory_registry.h"

#include <algorithm>
#include <cstdio>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

char16_t FoldRegistryCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  return c;
}

namespace {

// Negative, zero or positive as a sorts before, with or after b, ignoring case.
int CompareFolded(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t fa = FoldRegistryCase(a[i]);
    const char16_t fb = FoldRegistryCase(b[i]);
    if (fa != fb) return fa < fb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

constexpr uint32_t kErrorInvalidParameter = 87;

}  // namespace

bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b) {
  return CompareFolded(a, b) == 0;
}

struct MemoryRegistry::State {
  struct Value {
    std::u16string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
  };
  struct Node {
    std::u16string name;
    Node* parent = nullptr;  // null for the root and for deleted keys
    bool deleted = false;
    std::vector<std::shared_ptr<Node>> children;  // sorted by folded name
    std::vector<Value> values;                     // in order of creation

    std::vector<std::shared_ptr<Node>>::iterator LowerBound(std::u16string_view child) {
      return std::lower_bound(children.begin(), children.end(), child,
                              [](const std::shared_ptr<Node>& node, std::u16string_view name) {
                                return CompareFolded(node->name, name) < 0;
                              });
    }
    std::shared_ptr<Node> Child(std::u16string_view child) {
      auto it = LowerBound(child);
      return it != children.end() && CompareFolded((*it)->name, child) == 0 ? *it : nullptr;
    }
    Value* FindValue(std::u16string_view value_name) {
      for (Value& value : values) {
        if (CompareFolded(value.name, value_name) == 0) return &value;
      }
      return nullptr;
    }
    std::u16string Path() const {
      if (parent == nullptr) return name;
      std::u16string above = parent->Path();
      return above.empty() ? name : above + u"\\" + name;
    }
  };

  std::shared_ptr<Node> root = std::make_shared<Node>();
  FaultHook hook;

  uint32_t Fault(RegistryOperation op, const Node& node, std::u16string_view name) const {
    return hook ? hook(op, node.Path(), name) : 0;
  }
};

namespace {

using State = MemoryRegistry::State;
using Node = State::Node;

// Splits a backslash-separated path; false for an empty or over-long component.
bool SplitPath(std::u16string_view path, std::vector<std::u16string_view>& parts) {
  parts.clear();
  if (path.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = path.find(u'\\', start);
    const std::u16string_view part = path.substr(start, end == std::u16string_view::npos ? path.size() - start : end - start);
    if (part.empty() || part.size() > kMaxKeyNameLength) return false;
    parts.push_back(part);
    if (end == std::u16string_view::npos) return true;
    start = end + 1;
  }
}

class MemoryKey final : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<State> state, std::shared_ptr<Node> node)
      : state_(std::move(state)), node_(std::move(node)) {}

  HResult CreateSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) override {
    return Reach(RegistryOperation::kCreateSubkey, path, key);
  }

  HResult OpenSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) override {
    return Reach(RegistryOperation::kOpenSubkey, path, key);
  }

  HResult DeleteSubkey(std::u16string_view name) override {
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kDeleteSubkey, *node_, name)) return HResultFromWin32(e);
    if (name.empty() || name.find(u'\\') != std::u16string_view::npos) {
      return HResultFromWin32(kErrorInvalidParameter);
    }
    auto it = node_->LowerBound(name);
    if (it == node_->children.end() || CompareFolded((*it)->name, name) != 0) {
      return HResultFromWin32(kErrorFileNotFound);
    }
    if (!(*it)->children.empty()) return HResultFromWin32(kErrorAccessDenied);
    (*it)->deleted = true;
    (*it)->parent = nullptr;
    node_->children.erase(it);
    return kS_OK;
  }

  HResult CountSubkeys(uint32_t& count) override {
    count = 0;
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kCountSubkeys, *node_, {})) return HResultFromWin32(e);
    count = static_cast<uint32_t>(node_->children.size());
    return kS_OK;
  }

  HResult SubkeyName(uint32_t index, std::u16string& name) override {
    name.clear();
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kSubkeyName, *node_, {})) return HResultFromWin32(e);
    if (index >= node_->children.size()) return kE_NO_MORE_ITEMS;
    name = node_->children[index]->name;
    return kS_OK;
  }

  HResult QueryValue(std::u16string_view name, size_t max_size, uint32_t& type,
                     std::vector<uint8_t>& data) override {
    type = 0;
    data.clear();
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kQueryValue, *node_, name)) return HResultFromWin32(e);
    const State::Value* value = node_->FindValue(name);
    if (value == nullptr) return HResultFromWin32(kErrorFileNotFound);
    type = value->type;
    if (value->data.size() > max_size) return kE_MORE_DATA;
    data = value->data;
    return kS_OK;
  }

  HResult SetValue(std::u16string_view name, uint32_t type, std::span<const uint8_t> data) override {
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kSetValue, *node_, name)) return HResultFromWin32(e);
    State::Value* value = node_->FindValue(name);
    if (value == nullptr) {
      node_->values.push_back({std::u16string(name), 0, {}});
      value = &node_->values.back();
    }
    value->type = type;
    value->data.assign(data.begin(), data.end());
    return kS_OK;
  }

  HResult DeleteValue(std::u16string_view name) override {
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(RegistryOperation::kDeleteValue, *node_, name)) return HResultFromWin32(e);
    auto& values = node_->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (CompareFolded(it->name, name) == 0) {
        values.erase(it);
        return kS_OK;
      }
    }
    return HResultFromWin32(kErrorFileNotFound);
  }

 private:
  // Walks `path` down from this key; kCreateSubkey adds the keys that are missing.
  HResult Reach(RegistryOperation op, std::u16string_view path, std::unique_ptr<RegistryKey>& key) {
    key.reset();
    if (node_->deleted) return HResultFromWin32(kErrorKeyDeleted);
    if (uint32_t e = state_->Fault(op, *node_, path)) return HResultFromWin32(e);
    std::vector<std::u16string_view> parts;
    if (!SplitPath(path, parts)) return HResultFromWin32(kErrorInvalidParameter);
    std::shared_ptr<Node> node = node_;
    for (std::u16string_view part : parts) {
      auto it = node->LowerBound(part);
      if (it == node->children.end() || CompareFolded((*it)->name, part) != 0) {
        if (op != RegistryOperation::kCreateSubkey) return HResultFromWin32(kErrorFileNotFound);
        auto child = std::make_shared<Node>();
        child->name = std::u16string(part);
        child->parent = node.get();
        it = node->children.insert(it, std::move(child));
      }
      node = *it;
    }
    key = std::make_unique<MemoryKey>(state_, std::move(node));
    return kS_OK;
  }

  std::shared_ptr<State> state_;
  std::shared_ptr<Node> node_;
};

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

void DumpNode(const Node& node, std::string& out) {
  out += '[';
  out += Narrow(node.Path());
  out += "]\n";
  std::vector<const State::Value*> values;
  for (const State::Value& value : node.values) values.push_back(&value);
  std::sort(values.begin(), values.end(), [](const State::Value* a, const State::Value* b) {
    return CompareFolded(a->name, b->name) < 0;
  });
  for (const State::Value* value : values) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " type %u:", static_cast<unsigned>(value->type));
    out += "  ";
    out += Narrow(value->name);
    out += buffer;
    for (uint8_t byte : value->data) {
      std::snprintf(buffer, sizeof buffer, " %02X", byte);
      out += buffer;
    }
    out += "\n";
  }
  for (const auto& child : node.children) DumpNode(*child, out);
}

}  // namespace

MemoryRegistry::MemoryRegistry() : state_(std::make_shared<State>()) {}
MemoryRegistry::~MemoryRegistry() = default;

std::unique_ptr<RegistryKey> MemoryRegistry::Root() {
  return std::make_unique<MemoryKey>(state_, state_->root);
}

void MemoryRegistry::SetFaultHook(FaultHook hook) { state_->hook = std::move(hook); }

std::string MemoryRegistry::Dump() const {
  std::string out;
  DumpNode(*state_->root, out);
  return out;
}

}  // namespace quill::storage
