// ExpandFile: expands a compressed source into the temporary file EXPAND.KVT and finds the
// target name where the script left it to the compressed file (AUTO.EXT).
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class Program;

inline constexpr const char* kExpandFileName = "EXPAND.KVT";

/// The temporary path, a comma and the target (renamed for AUTO.EXT). error, when given,
/// receives 0 or the error code of a source that could not be opened or expanded (then no
/// temporary file is left).
std::string ExpandFile(Program& program, const std::string& source, const std::string& target,
                       uint32_t* error = nullptr);

}  // namespace korvane
