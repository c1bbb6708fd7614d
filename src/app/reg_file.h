// Registry export and import in the regedit text format, over the Registry service: export
// writes REGEDIT4 in UTF-8; import reads REGEDIT4 (UTF-8 or code page 932) and the UTF-16LE
// "Windows Registry Editor Version 5.00" files. Texts here are UTF-8; the registry's are
// code page 932.
#pragma once

#include <string>

#include "platform/registry.h"

namespace korvane {

/// The tree below keyUtf8 (a full key name such as HKEY_CLASSES_ROOT\.txt; "" the whole
/// registry) in the REGEDIT4 layout: false and a one-line message when the key is missing.
bool ExportRegistry(Registry& registry, const std::string& keyUtf8, std::string& outUtf8,
                    std::string& errorUtf8);

/// Applies a .reg file: false and a one-line message when the file cannot be read (nothing is
/// changed then) or the registry refuses a change (the changes before it stay).
bool ImportRegistry(Registry& registry, const std::string& fileBytes, std::string& errorUtf8);

}  // namespace korvane
