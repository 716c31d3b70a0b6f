// The firmware's names of the board, the computer and its BIOS, read from the
// SMBIOS table that Windows keeps (GetSystemFirmwareTable 'RSMB'). Pure
// rules, no platform calls.
#pragma once

#include <cstddef>
#include <span>

#include "host/bounded_text.h"

namespace toolcase::sysinfo {

enum class FirmwarePart {
  board,   // the first structure of type 2: maker and product
  system,  // type 1: maker and model
  bios,    // type 0: vendor, version and release date
};

// The part's names from Windows' copy of the table (RawSMBIOSData: 8 bytes
// of header, the table's length among them, then the table), one blank
// between them, as the firmware's own bytes (Windows-1252). Control bytes
// become blanks, blanks at either end go, and a name left empty or as a
// maker's placeholder ("To Be Filled By O.E.M.") is left out. Empty when
// every name is missing or the table has no such structure. Nothing is read
// outside `table`, nor past the length its header gives.
Text firmware_names(std::span<const unsigned char> table, FirmwarePart part) noexcept;

}  // namespace toolcase::sysinfo
