// The five undo lists that the uninstall record holds, and the insertion rule
// AddUnlessPresent. Slots are numbered from 1; an empty text is a free slot.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace korvane {

inline constexpr int kDeleteFolderSlots = 20;
inline constexpr int kDeleteFileSlots = 101;
inline constexpr int kDeleteShortCutSlots = 20;
inline constexpr int kDeleteRegistrySlots = 20;
inline constexpr int kRestoreRelateSlots = 5;

struct UndoLists {
  std::vector<std::string> DeleteFolderList = std::vector<std::string>(kDeleteFolderSlots);
  std::vector<std::string> DeleteFileList = std::vector<std::string>(kDeleteFileSlots);
  std::vector<std::string> DeleteShortCutList = std::vector<std::string>(kDeleteShortCutSlots);
  std::vector<std::string> DeleteRegistryList = std::vector<std::string>(kDeleteRegistrySlots);
  std::vector<std::string> RestoreRelateList = std::vector<std::string>(kRestoreRelateSlots);
};

/// Adds text unless a slot equals it after upper-case mapping; the first free slot takes it;
/// a full list drops it. True when added.
bool AddUnlessPresent(const Platform& platform, std::vector<std::string>& list,
                      const std::string& text);

}  // namespace korvane
