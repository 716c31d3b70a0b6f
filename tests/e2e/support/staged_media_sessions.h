// Windows' media sessions as a test stages them for a copy of the DLL: its
// look-ups of combase.dll's runtime and string calls answer the test's own,
// which count the objects, strings and runtime initializations the library
// holds (all back to 0 once it let go).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "sysinfo_import_patch.h"

namespace toolcase::e2e {

struct StagedSession {
  std::wstring player, title, artist, album;
  int status;  // 0 closed, 1 opened, 2 changing, 3 stopped, 4 playing, 5 paused
};

struct MediaStage {
  HRESULT factory = S_OK;  // REGDB_E_CLASSNOTREG: the class is not registered
  int manager_status = 1;  // of the manager's operation: 0 never completes, 1 completed, 3 error
  DWORD status_sleep = 0;  // each status query of that operation sleeps this long
  std::optional<StagedSession> current;
  std::vector<StagedSession> others;
  int key_status = 1;       // of a media key's operation: 0 never completes, 1 completed
  bool key_answer = true;   // its result
};

struct MediaCounts {
  int objects, strings, initializations, cancels, misuses;  // misuses: results or Close too early
  bool operator==(const MediaCounts&) const = default;
};

class StagedMediaSessions {
 public:
  StagedMediaSessions(HMODULE copy, const MediaStage& stage);
  void set(const MediaStage& stage);
  static MediaCounts counts();
  // The keys asked of sessions since the last look: each session's player and the slot.
  static std::vector<std::pair<std::wstring, int>> keys_pressed();

 private:
  StagedLookup lookup_;
};

}  // namespace toolcase::e2e
