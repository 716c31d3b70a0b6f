// Puts a test's own function in place of one platform function that a module
// imports, by rewriting that module's import address table, and puts the
// platform's back when it goes. This lets a test see the arguments a command
// passes and make the platform answer what a real machine rarely does.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace toolcase::e2e {

class ImportPatch {
 public:
  // module imports function from dll (e.g. "KERNEL32.dll", "GetTempPathA");
  // the test fails when it does not.
  ImportPatch(HMODULE module, const char* dll, const char* function, FARPROC replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // The platform's own function, to pass calls through.
  FARPROC original() const { return original_; }

 private:
  FARPROC* slot_ = nullptr;
  FARPROC original_ = nullptr;
};

// A module's look-ups by name (its GetProcAddress import) answer the test's
// own functions for the names given, null for a function that an older
// Windows lacks; other names as the platform answers. One at a time.
class StagedLookup {
 public:
  StagedLookup(HMODULE module, std::map<std::string, FARPROC> functions);
  ~StagedLookup();
  StagedLookup(const StagedLookup&) = delete;
  StagedLookup& operator=(const StagedLookup&) = delete;

 private:
  ImportPatch patch_;
};

// Any function as the generic pointer type the table holds.
template <typename Function>
FARPROC as_farproc(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace toolcase::e2e
