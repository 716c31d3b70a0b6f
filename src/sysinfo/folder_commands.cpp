// Folders and long paths.
// Not built yet: every command answers "error".
#include "host/command.h"

using namespace toolcase;

TOOLCASE_COMMAND(GetDir) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}

TOOLCASE_COMMAND(ExtractFullPath) {
  return run_command(data, [](const std::string&) { return std::string(kError); });
}
