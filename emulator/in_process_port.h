// A HidPort over an in-process QuillfernModel, for native tests of the transport and above.
//
// Enumeration lists, in order: the foreign interfaces added before the mouse, every path the
// mouse has had (unplugged or old paths enumerate but do not open, as on Windows), then the
// foreign interfaces added after it. Every interface counts what was done to it, so a test can
// assert that no feature report went to an interface that is not the mouse.
// Several ports may share one model; each port is one client (process) in the request log.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "emulator/quillfern_model.h"
#include "middleware/transport/hid_port.h"

namespace quill::emu {

// Vendor of the virtual HID mouse Wine always shows.
constexpr uint16_t kWineVirtualMouseVendor = 0x845E;
constexpr uint16_t kWineVirtualMouseProduct = 0x0001;
constexpr uint16_t kQuillfernVersion = 0x0100;
// Windows error of feature transfers to a device that has no such report.
constexpr uint32_t kErrorInvalidParameter = 87;

// An interface that is not the emulated mouse.
struct ForeignInterface {
  std::u16string path;
  HidAttributes attributes;
  bool open_fails = false;        // CreateFileW fails
  bool attributes_fail = false;   // HidD_GetAttributes fails
  // Feature transfers always fail (these devices have no such report); they are counted.
};

// What was done to one interface (by path).
struct InterfaceCounters {
  unsigned opens = 0;            // Open calls (successful or not)
  unsigned failed_opens = 0;
  unsigned attribute_reads = 0;
  unsigned set_features = 0;     // every SetFeature call, reset reports included
  unsigned get_features = 0;
  unsigned FeatureReports() const { return set_features + get_features; }
};

class InProcessPort : public HidPort {
 public:
  explicit InProcessPort(QuillfernModel& model, uint32_t client_id = 1);
  ~InProcessPort() override;

  // ---- interfaces -----------------------------------------------------------------------
  // Adds an interface; `before_mouse` puts it ahead of the mouse in enumeration order.
  void AddForeignInterface(const ForeignInterface& iface, bool before_mouse = true);
  // Convenience forms; each returns the path it used.
  std::u16string AddWineVirtualMouse(bool before_mouse = true);
  std::u16string AddOtherProduct(uint16_t product_id, bool before_mouse = true);
  std::u16string AddUnopenableInterface(bool before_mouse = true);
  std::u16string AddNoAttributesInterface(bool before_mouse = true);
  // Leaves the mouse out of the enumeration (a system without the mouse).
  void SetMouseListed(bool listed);
  // SetupDiGetClassDevsW fails.
  void SetEnumerationFails(bool fails);

  // ---- the mouse (forwarded to the model) -------------------------------------------------
  QuillfernModel& Model() { return model_; }
  std::u16string MousePath() const { return model_.DevicePath(); }
  // Gives the mouse a path of exactly `units` UTF-16 units (e.g. beyond the 126 of the
  // transport's path field).
  void SetMousePathLength(size_t units) { model_.SetDevicePath(QuillfernModel::MakeDevicePath(1, units)); }
  void Unplug() { model_.Unplug(); }
  void Replug(bool new_path) { model_.Replug(new_path); }

  // ---- client identity and counters ----------------------------------------------------------
  uint32_t ClientId() const;
  void SetClientId(uint32_t id);
  InterfaceCounters Counters(const std::u16string& path) const;
  // Sum over every interface that is not one of the mouse's paths.
  InterfaceCounters ForeignCounters() const;
  void ResetCounters();
  // Handles of this port that are open right now.
  unsigned OpenHandles() const;

  // ---- HidPort -------------------------------------------------------------------------------
  bool BeginEnumeration() override;
  uint32_t InterfaceAt(uint32_t index, std::u16string& path) override;
  void EndEnumeration() override;
  std::unique_ptr<HidDevice> Open(const std::u16string& path) override;

 private:
  class MouseHandle;
  class ForeignHandle;
  struct Shared;  // counters and client id, shared with the handles (they may outlive a call)

  std::vector<std::u16string> ListedPaths() const;
  const ForeignInterface* FindForeign(const std::u16string& path) const;

  QuillfernModel& model_;
  std::shared_ptr<Shared> shared_;
  std::vector<ForeignInterface> before_;
  std::vector<ForeignInterface> after_;
  bool mouse_listed_ = true;
  bool enumeration_fails_ = false;
  bool enumerating_ = false;
  std::vector<std::u16string> snapshot_;  // paths listed by the current enumeration
  unsigned foreign_serial_ = 0;
};

}  // namespace quill::emu
