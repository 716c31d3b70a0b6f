// Notification: message boxes and alert sounds.
// Not built yet: every command answers "error".
#include "host/command.h"

using namespace toolcase;

TOOLCASE_COMMAND(BeepCommand) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(MessageDialog) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}
