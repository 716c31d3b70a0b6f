// Shell commands: screen saver, Start button, desktop icons.
// Not built yet: every command answers "error".
#include "host/command.h"

using namespace toolcase;

TOOLCASE_COMMAND(DesktopIcons) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(StartButton) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(ScreenSaver) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}
