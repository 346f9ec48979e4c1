// The system's side of a scan, for the build at hand: on Windows the
// folders through FindFirstFileW, program files through the version
// library and the shell (as the program reads them), the built-in filter
// list from resource 1004 of the running program; natively the folders
// through POSIX, program files through the portable PE reader (version,
// company and product name; no icon) and the list built into the binary.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "catalog/settings.h"
#include "discovery/scan.h"

namespace kodrin::discovery {

std::unique_ptr<ScanFolders> SystemScanFolders();

// ReadProgramFile with the system's reader, one reader per file.
ProgramReader SystemProgramReader(const Settings& options);

// The bytes of the built-in filter list; empty when the program carries none.
std::span<const std::uint8_t> BuiltInFilterList();

}  // namespace kodrin::discovery
