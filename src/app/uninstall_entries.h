// The Windows uninstall entries of a machine's registry, as `programs` lists them and
// `remove` finds them. Texts are code page 932.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace korvane {

inline constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct UninstallEntry {
  std::string key;
  std::string displayName;
  std::string uninstallString;
};

/// Every entry below the uninstall key in key-name order; empty when there is none.
std::vector<UninstallEntry> ListUninstallEntries(Registry& registry);

/// The entry whose key name or DisplayName equals name without regard to case, or nullopt.
std::optional<UninstallEntry> FindUninstallEntry(Registry& registry, const std::string& name);

/// The record path of an UninstallString that starts this system's uninstaller
/// (`...\UNKORVANE.EXE "RECORD"` or `...\SETUP.EXE "RECORD"`): nullopt for anything else.
std::optional<std::string> RecordOfUninstallString(const std::string& uninstallString);

}  // namespace korvane
