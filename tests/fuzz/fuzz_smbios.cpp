// The SMBIOS table with any bytes: the parser stays within the table and
// answers names without control bytes or blanks at either end.
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"
#include "sysinfo/smbios_rules.h"

using namespace toolcase;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const sysinfo::FirmwarePart part :
       {sysinfo::FirmwarePart::board, sysinfo::FirmwarePart::system, sysinfo::FirmwarePart::bios}) {
    const Text names = sysinfo::firmware_names({data, size}, part);
    const std::string_view view = names.view();
    FUZZ_CHECK(view.empty() || (view.front() != ' ' && view.back() != ' '));
    for (const char byte : view) FUZZ_CHECK(static_cast<unsigned char>(byte) >= 0x20 && byte != 0x7F);
  }
  return 0;
}
