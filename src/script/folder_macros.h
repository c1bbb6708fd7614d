// The folder macros "(App)" ... "(Set)" and their resolution in a fixed order.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

inline constexpr std::string_view kMacroApp = "(App)";
inline constexpr std::string_view kMacroPrg = "(Prg)";
inline constexpr std::string_view kMacroWin = "(Win)";
inline constexpr std::string_view kMacroSys = "(Sys)";
inline constexpr std::string_view kMacroTmp = "(Tmp)";
inline constexpr std::string_view kMacroBoo = "(Boo)";
inline constexpr std::string_view kMacroSet = "(Set)";

/// Every occurrence of token replaced by AddBackslash(value, "B") + RemoveBackslash(rest, "T").
std::string ReplaceMacro(std::string_view text, std::string_view token, std::string_view value);

// The folders the macros stand for.
struct MacroFolders {
  std::string setupFolder;         // (App); (Set) is its first two bytes and a backslash
  std::string programFilesFolder;  // (Prg)
  std::string windowsFolder;       // (Win); (Boo) is its first two bytes and a backslash
  std::string systemFolder;        // (Sys)
  std::string tempFolder;          // (Tmp)
};

/// All seven, in the order (App) (Prg) (Win) (Sys) (Tmp) (Boo) (Set).
std::string ResolveAllMacros(std::string_view text, const MacroFolders& folders);
/// The registry set: the seven without (Tmp).
std::string ResolveRegistryMacros(std::string_view text, const MacroFolders& folders);
/// The activation set: (Prg) (Win) (Sys) (Boo).
std::string ResolveProposedFolderMacros(std::string_view text, const MacroFolders& folders);

}  // namespace korvane
