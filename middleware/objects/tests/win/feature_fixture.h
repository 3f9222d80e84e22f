// Fixture of the feature-object tests: an emulated mouse, a device type object of this process
// opened on it (with the product's makers), and one that was never opened (no handler).
#pragma once
#include <memory>
#include <string>

#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/device_type.h"

namespace quill::test {

class FeatureTest : public ComTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The emulator's options (keystrokes off unless a fixture needs the F20 key).
  virtual emu::EmulatorOptions MouseOptions() const;

  // A new object of class T bound to `device` (the open one unless told), with extra
  // constructor arguments.
  template <class T, class... Args>
  com::ComPtr<T> Make(server::CDeviceType* device = nullptr, Args&&... args) {
    return com::MakeComObject<T>(device ? *device : *open_.Get(), static_cast<Args&&>(args)...);
  }

  void ClearLog();
  // Requests of command `cmd` in the emulator's log since it was last cleared.
  int Requests(int cmd);
  int AllRequests();
  emu::EmulatorProcess::CtlResult Ctl(const std::string& command) { return emulator_->Ctl(command); }

  std::unique_ptr<emu::EmulatorProcess> emulator_;
  com::ComPtr<server::CDeviceType> open_;
  com::ComPtr<server::CDeviceType> closed_;
};

}  // namespace quill::test
