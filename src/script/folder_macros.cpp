// Folder macro replacement: each token gives way to its folder with exactly one backslash
// joining it to what follows. The sets of macros each place resolves are fixed here; the
// folders themselves come from the caller.
#include "script/folder_macros.h"

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

std::string ResolveAllMacros(std::string_view text, const MacroFolders& folders) {
  std::string result = ReplaceMacro(text, kMacroApp, folders.setupFolder);
  result = ReplaceMacro(result, kMacroPrg, folders.programFilesFolder);
  result = ReplaceMacro(result, kMacroWin, folders.windowsFolder);
  result = ReplaceMacro(result, kMacroSys, folders.systemFolder);
  result = ReplaceMacro(result, kMacroTmp, folders.tempFolder);
  result = ReplaceMacro(result, kMacroBoo, DriveOf(folders.windowsFolder));
  return ReplaceMacro(result, kMacroSet, DriveOf(folders.setupFolder));
}

std::string ResolveRegistryMacros(std::string_view text, const MacroFolders& folders) {
  std::string result = ReplaceMacro(text, kMacroApp, folders.setupFolder);
  result = ReplaceMacro(result, kMacroPrg, folders.programFilesFolder);
  result = ReplaceMacro(result, kMacroWin, folders.windowsFolder);
  result = ReplaceMacro(result, kMacroSys, folders.systemFolder);
  result = ReplaceMacro(result, kMacroBoo, DriveOf(folders.windowsFolder));
  return ReplaceMacro(result, kMacroSet, DriveOf(folders.setupFolder));
}

std::string ResolveProposedFolderMacros(std::string_view text, const MacroFolders& folders) {
  std::string result = ReplaceMacro(text, kMacroPrg, folders.programFilesFolder);
  result = ReplaceMacro(result, kMacroWin, folders.windowsFolder);
  result = ReplaceMacro(result, kMacroSys, folders.systemFolder);
  return ReplaceMacro(result, kMacroBoo, DriveOf(folders.windowsFolder));
}

}  // namespace korvane
