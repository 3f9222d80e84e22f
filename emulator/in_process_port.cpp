#include "emulator/in_process_port.h"

#include <algorithm>
#include <map>

#include "middleware/transport/device_ids.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::emu {

struct InProcessPort::Shared {
  mutable std::mutex mutex;
  uint32_t client_id = 1;
  std::map<std::u16string, InterfaceCounters> counters;
  unsigned open_handles = 0;

  template <typename F>
  void Count(const std::u16string& path, F change) {
    std::lock_guard lock(mutex);
    change(counters[path]);
  }
  uint32_t Client() const {
    std::lock_guard lock(mutex);
    return client_id;
  }
};

// A handle on the mouse: transfers go to the model, which decides whether the handle still
// reaches the device.
class InProcessPort::MouseHandle : public HidDevice {
 public:
  MouseHandle(QuillfernModel& model, std::shared_ptr<Shared> shared, std::u16string path, uint64_t handle)
      : model_(model), shared_(std::move(shared)), path_(std::move(path)), handle_(handle) {
    std::lock_guard lock(shared_->mutex);
    ++shared_->open_handles;
  }
  ~MouseHandle() override {
    std::lock_guard lock(shared_->mutex);
    --shared_->open_handles;
  }
  bool GetAttributes(HidAttributes& attributes) override {
    shared_->Count(path_, [](InterfaceCounters& c) { ++c.attribute_reads; });
    if (!model_.HandleAlive(handle_)) return false;
    attributes = HidAttributes{VENDOR_ID, QUILLFERN_PID, kQuillfernVersion};
    return true;
  }
  bool SetFeature(const uint8_t* report, size_t size) override {
    shared_->Count(path_, [](InterfaceCounters& c) { ++c.set_features; });
    return model_.SetFeature(handle_, shared_->Client(), report, size);
  }
  bool GetFeature(uint8_t* report, size_t size) override {
    shared_->Count(path_, [](InterfaceCounters& c) { ++c.get_features; });
    return model_.GetFeature(handle_, shared_->Client(), report, size);
  }

 private:
  QuillfernModel& model_;
  std::shared_ptr<Shared> shared_;
  std::u16string path_;
  uint64_t handle_;
};

// A handle on another device: attributes as configured, feature transfers always fail.
class InProcessPort::ForeignHandle : public HidDevice {
 public:
  ForeignHandle(std::shared_ptr<Shared> shared, ForeignInterface iface)
      : shared_(std::move(shared)), iface_(std::move(iface)) {
    std::lock_guard lock(shared_->mutex);
    ++shared_->open_handles;
  }
  ~ForeignHandle() override {
    std::lock_guard lock(shared_->mutex);
    --shared_->open_handles;
  }
  bool GetAttributes(HidAttributes& attributes) override {
    shared_->Count(iface_.path, [](InterfaceCounters& c) { ++c.attribute_reads; });
    if (iface_.attributes_fail) return false;
    attributes = iface_.attributes;
    return true;
  }
  bool SetFeature(const uint8_t*, size_t) override {
    shared_->Count(iface_.path, [](InterfaceCounters& c) { ++c.set_features; });
    return false;
  }
  bool GetFeature(uint8_t*, size_t) override {
    shared_->Count(iface_.path, [](InterfaceCounters& c) { ++c.get_features; });
    return false;
  }

 private:
  std::shared_ptr<Shared> shared_;
  ForeignInterface iface_;
};

InProcessPort::InProcessPort(QuillfernModel& model, uint32_t client_id)
    : model_(model), shared_(std::make_shared<Shared>()) {
  shared_->client_id = client_id;
}

InProcessPort::~InProcessPort() = default;

void InProcessPort::AddForeignInterface(const ForeignInterface& iface, bool before_mouse) {
  (before_mouse ? before_ : after_).push_back(iface);
}

namespace {
std::u16string ForeignPath(const char16_t* kind, uint16_t vendor, uint16_t product, unsigned serial) {
  auto hex4 = [](unsigned v) {
    static const char16_t kDigits[] = u"0123456789abcdef";
    std::u16string s(4, u'0');
    for (int i = 3; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = kDigits[v & 0xF];
    return s;
  };
  return u"\\\\?\\hid#" + std::u16string(kind) + u"_vid_" + hex4(vendor) + u"&pid_" + hex4(product) +
         u"#1&" + hex4(serial) + u"&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}";
}
}  // namespace

std::u16string InProcessPort::AddWineVirtualMouse(bool before_mouse) {
  ForeignInterface iface;
  iface.path = ForeignPath(u"wine", kWineVirtualMouseVendor, kWineVirtualMouseProduct, ++foreign_serial_);
  iface.attributes = HidAttributes{kWineVirtualMouseVendor, kWineVirtualMouseProduct, 0};
  AddForeignInterface(iface, before_mouse);
  return iface.path;
}

std::u16string InProcessPort::AddOtherProduct(uint16_t product_id, bool before_mouse) {
  ForeignInterface iface;
  iface.path = ForeignPath(u"other", VENDOR_ID, product_id, ++foreign_serial_);
  iface.attributes = HidAttributes{VENDOR_ID, product_id, kQuillfernVersion};
  AddForeignInterface(iface, before_mouse);
  return iface.path;
}

std::u16string InProcessPort::AddUnopenableInterface(bool before_mouse) {
  ForeignInterface iface;
  iface.path = ForeignPath(u"locked", VENDOR_ID, QUILLFERN_PID, ++foreign_serial_);
  iface.attributes = HidAttributes{VENDOR_ID, QUILLFERN_PID, kQuillfernVersion};
  iface.open_fails = true;
  AddForeignInterface(iface, before_mouse);
  return iface.path;
}

std::u16string InProcessPort::AddNoAttributesInterface(bool before_mouse) {
  ForeignInterface iface;
  iface.path = ForeignPath(u"noattr", VENDOR_ID, QUILLFERN_PID, ++foreign_serial_);
  iface.attributes = HidAttributes{VENDOR_ID, QUILLFERN_PID, kQuillfernVersion};
  iface.attributes_fail = true;
  AddForeignInterface(iface, before_mouse);
  return iface.path;
}

void InProcessPort::SetMouseListed(bool listed) { mouse_listed_ = listed; }
void InProcessPort::SetEnumerationFails(bool fails) { enumeration_fails_ = fails; }

uint32_t InProcessPort::ClientId() const { return shared_->Client(); }

void InProcessPort::SetClientId(uint32_t id) {
  std::lock_guard lock(shared_->mutex);
  shared_->client_id = id;
}

InterfaceCounters InProcessPort::Counters(const std::u16string& path) const {
  std::lock_guard lock(shared_->mutex);
  auto it = shared_->counters.find(path);
  return it == shared_->counters.end() ? InterfaceCounters{} : it->second;
}

InterfaceCounters InProcessPort::ForeignCounters() const {
  const std::vector<std::u16string> mouse = model_.KnownPaths();
  std::lock_guard lock(shared_->mutex);
  InterfaceCounters sum;
  for (const auto& [path, c] : shared_->counters) {
    if (std::find(mouse.begin(), mouse.end(), path) != mouse.end()) continue;
    sum.opens += c.opens;
    sum.failed_opens += c.failed_opens;
    sum.attribute_reads += c.attribute_reads;
    sum.set_features += c.set_features;
    sum.get_features += c.get_features;
  }
  return sum;
}

void InProcessPort::ResetCounters() {
  std::lock_guard lock(shared_->mutex);
  shared_->counters.clear();
}

unsigned InProcessPort::OpenHandles() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->open_handles;
}

std::vector<std::u16string> InProcessPort::ListedPaths() const {
  std::vector<std::u16string> paths;
  for (const ForeignInterface& f : before_) paths.push_back(f.path);
  if (mouse_listed_)
    for (const std::u16string& p : model_.KnownPaths()) paths.push_back(p);
  for (const ForeignInterface& f : after_) paths.push_back(f.path);
  return paths;
}

const ForeignInterface* InProcessPort::FindForeign(const std::u16string& path) const {
  for (const auto* list : {&before_, &after_})
    for (const ForeignInterface& f : *list)
      if (f.path == path) return &f;
  return nullptr;
}

bool InProcessPort::BeginEnumeration() {
  if (enumeration_fails_) return false;
  snapshot_ = ListedPaths();
  enumerating_ = true;
  return true;
}

uint32_t InProcessPort::InterfaceAt(uint32_t index, std::u16string& path) {
  if (!enumerating_ || index >= snapshot_.size()) return kErrorNoMoreItems;
  path = snapshot_[index];
  return 0;
}

void InProcessPort::EndEnumeration() {
  enumerating_ = false;
  snapshot_.clear();
}

std::unique_ptr<HidDevice> InProcessPort::Open(const std::u16string& path) {
  std::unique_ptr<HidDevice> device;
  std::u16string counted = path;  // the mouse counts under its own spelling of the path
  if (const ForeignInterface* f = FindForeign(path)) {
    if (!f->open_fails) device = std::make_unique<ForeignHandle>(shared_, *f);
  } else if (std::optional<uint64_t> handle = model_.OpenHandle(path)) {
    counted = model_.DevicePath();
    device = std::make_unique<MouseHandle>(model_, shared_, counted, *handle);
  }
  shared_->Count(counted, [&](InterfaceCounters& c) {
    ++c.opens;
    if (!device) ++c.failed_opens;
  });
  return device;
}

}  // namespace quill::emu
