// Folder macro replacement: each token gives way to its folder with exactly one backslash
// joining it to what follows. The sets of macros each place resolves are fixed here; the
// folders themselves come from the caller.
#include "script/folder_macros.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "script/text_routines.h"

namespace korvane {

namespace {

// (Boo) and (Set): the drive of a folder, such as C:\ for C:\WINDOWS.
std::string DriveOf(std::string_view folder) { return LeftPart(folder, 2) + "\\"; }

}  // namespace

std::string ReplaceMacro(std::string_view text, std::string_view token, std::string_view value) {
  std::string result(text);
  if (token.empty()) return result;
  const std::string inserted = AddBackslash(value, kSideBack);
  size_t pos = FindBytes(result, token);
  while (pos != std::string::npos) {
    std::string before = result.substr(0, pos);
    std::string after =
        RemoveBackslash(std::string_view(result).substr(pos + token.size()), kSideFront);
    result = before + inserted + after;
    // Searching on behind the folder keeps a value that holds the token from looping.
    pos = FindBytes(result, token, before.size() + inserted.size());
  }
  return result;
}

namespace {

// Applies the macros in their fixed order, (App) first and (Set) last, leaving out those in
// leftOut: every place resolves in this one order and differs only in which it leaves out.
std::string ResolveInOrder(std::string_view text, const MacroFolders& folders,
                           std::initializer_list<std::string_view> leftOut) {
  const std::pair<std::string_view, std::string> order[] = {
      {kMacroApp, folders.setupFolder},
      {kMacroPrg, folders.programFilesFolder},
      {kMacroWin, folders.windowsFolder},
      {kMacroSys, folders.systemFolder},
      {kMacroTmp, folders.tempFolder},
      {kMacroBoo, DriveOf(folders.windowsFolder)},
      {kMacroSet, DriveOf(folders.setupFolder)},
  };
  std::string result(text);
  for (const auto& [token, value] : order) {
    if (std::find(leftOut.begin(), leftOut.end(), token) != leftOut.end()) continue;
    result = ReplaceMacro(result, token, value);
  }
  return result;
}

}  // namespace

std::string ResolveAllMacros(std::string_view text, const MacroFolders& folders) {
  return ResolveInOrder(text, folders, {});
}

std::string ResolveRegistryMacros(std::string_view text, const MacroFolders& folders) {
  return ResolveInOrder(text, folders, {kMacroTmp});
}

std::string ResolveProposedFolderMacros(std::string_view text, const MacroFolders& folders) {
  return ResolveInOrder(text, folders, {kMacroApp, kMacroTmp, kMacroSet});
}

}  // namespace korvane
