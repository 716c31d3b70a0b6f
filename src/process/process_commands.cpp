// Process commands: is a program running, end every process of a name.
// Not built yet: every command answers "error".
#include "host/command.h"

using namespace toolcase;

TOOLCASE_COMMAND(ProcessIsRunning) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(KillProcess) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}
