// Where the transport's diagnostic messages go. The default hook discards them; tests and
// diagnostics builds install one to observe the search and the exchanges.
#pragma once
#include <functional>
#include <string_view>

namespace quill {

using TraceHook = std::function<void(std::string_view message)>;

}  // namespace quill
