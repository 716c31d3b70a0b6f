#include "shell/shell_requests.h"

#include "host/frame.h"
#include "host/text.h"

namespace toolcase::shell {

StartButtonRequest start_button_request(std::string_view input) {
  if (text::keyword_match(input, "show")) return StartButtonRequest::show;
  if (text::keyword_match(input, "hide")) return StartButtonRequest::hide;
  if (text::keyword_match(input, "simulate")) return StartButtonRequest::simulate;
  return StartButtonRequest::none;
}

DesktopIconsRequest desktop_icons_request(std::string_view input) {
  if (text::keyword_match(input, "disable")) return DesktopIconsRequest::disable;
  if (text::keyword_match(input, "enable")) return DesktopIconsRequest::enable;
  if (text::keyword_match(input, "show")) return DesktopIconsRequest::show;
  if (text::keyword_match(input, "hide")) return DesktopIconsRequest::hide;
  return DesktopIconsRequest::none;
}

std::string_view state_change_answer(bool already_in_state) {
  return already_in_state ? kError : kTrue;
}

}  // namespace toolcase::shell
