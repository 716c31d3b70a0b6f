#include "sysinfo_import_patch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace toolcase::e2e {

namespace {

void write_slot(FARPROC* slot, FARPROC value) {
  DWORD old_protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old_protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, old_protection, &old_protection);
}

std::map<std::string, FARPROC> staged_functions;

FARPROC WINAPI look_up_staged(HMODULE module, LPCSTR name) {
  const bool by_name = reinterpret_cast<std::uintptr_t>(name) > 0xFFFF;
  if (const auto staged = by_name ? staged_functions.find(name) : staged_functions.end();
      staged != staged_functions.end()) {
    return staged->second;
  }
  return GetProcAddress(module, name);
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function,
                         FARPROC replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  // The headers and thunks of this program's bitness, which the module shares.
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva);
       slot_ == nullptr && import->Name != 0; ++import) {
    if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
    auto* slots = reinterpret_cast<FARPROC*>(base + import->FirstThunk);
    for (std::size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
      if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
      auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) == 0) {
        slot_ = &slots[i];
        break;
      }
    }
  }
  EXPECT_NE(slot_, nullptr) << "the module does not import " << dll << "!" << function;
  if (slot_ == nullptr) return;
  original_ = *slot_;
  write_slot(slot_, replacement);
}

ImportPatch::~ImportPatch() {
  // A module that a failed test let go of has no slot left to restore.
  HMODULE still_loaded = nullptr;
  if (slot_ != nullptr && GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                             reinterpret_cast<LPCSTR>(slot_), &still_loaded)) {
    write_slot(slot_, original_);
  }
}

StagedLookup::StagedLookup(HMODULE module, std::map<std::string, FARPROC> functions)
    : patch_(module, "KERNEL32.dll", "GetProcAddress", as_farproc(&look_up_staged)) {
  staged_functions = std::move(functions);
}

StagedLookup::~StagedLookup() { staged_functions.clear(); }

}  // namespace toolcase::e2e
