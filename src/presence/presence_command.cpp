// Presence: whether the user is there.
#include "host/command.h"
#include "presence/presence_reading.h"

using namespace toolcase;

// Input ignored.
TOOLCASE_COMMAND(Presence) {
  return run_command(data, [](const Text&) { return presence::read_presence(); });
}
