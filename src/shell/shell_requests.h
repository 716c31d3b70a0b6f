// What a caller asks of the shell commands, read from the data buffer by
// keyword. Each command tests its own keywords in a fixed order; an input
// matching none of them asks for nothing.
#pragma once

#include <string_view>

namespace toolcase::shell {

enum class StartButtonRequest { show, hide, simulate, none };
enum class DesktopIconsRequest { disable, enable, show, hide, none };

StartButtonRequest start_button_request(std::string_view input);
DesktopIconsRequest desktop_icons_request(std::string_view input);

// The answer to a show/hide/enable/disable request, given whether the
// window was already in the requested state: asking for that state again
// is an error.
std::string_view state_change_answer(bool already_in_state);

}  // namespace toolcase::shell
