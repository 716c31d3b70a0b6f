// Machine facts: computer and user name, memory, screen.
// Not built yet: every command answers "error".
#include "host/command.h"

using namespace toolcase;

TOOLCASE_COMMAND(Screen) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(Memory) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(UserName) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(ComputerName) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}
