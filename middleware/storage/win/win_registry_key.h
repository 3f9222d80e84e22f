// The store's registry seam over the Windows registry.
#pragma once
#include <memory>

#include "middleware/storage/registry_key.h"

namespace quill::storage {

// HKEY_LOCAL_MACHINE, the key the store's collections lie under. The handle is predefined and
// never closed.
std::unique_ptr<RegistryKey> LocalMachineKey();

}  // namespace quill::storage
