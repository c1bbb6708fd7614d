// The steps of the uninstall run, one file each: reading the record into the undo lists, and
// removing the registry keys, associations and the uninstall entry. The run calls them in order.
#pragma once

#include <string>

namespace korvane {

class Program;
struct Platform;

// A [DeleteFile] entry as the uninstall run reads it.
struct UninstallFileEntry {
  std::string path;        // the text before the first comma
  std::string switchText;  // the comma and the two bytes after it, or empty
};

/// Splits a [DeleteFile] entry; only the switch written first is kept (never fails).
UninstallFileEntry SplitUninstallFileEntry(const std::string& entry);
/// Whether the entry is a DLL or OCX file inside the Windows or system folder, kept without
/// "/F" or "/C" (false for every other entry).
bool IsSparedSharedFile(const Program& program, const UninstallFileEntry& entry);
/// Reads the record's folder, file, shortcut, registry and association entries into the undo
/// lists, dropping spared shared files; missing keys add nothing.
void ReadUninstallLists(Program& program, const std::string& record);

/// Deletes every registry key of DeleteRegistryList, repeating while it exists (at most 99
/// times); entries that would name a root key itself are skipped. Reports nothing.
void DeleteRecordedRegistryKeys(Program& program);
/// Writes back or deletes each extension key of RestoreRelateList. Reports nothing.
void RestoreAssociations(Program& program);
/// Deletes the uninstall entry that the record names; nothing when the record names no entry
/// below the Uninstall key. Reports nothing.
void DeleteUninstallEntry(Program& program, const std::string& record);

}  // namespace korvane
