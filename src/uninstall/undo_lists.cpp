// The insertion rule of the undo lists: a text goes into the first free slot unless some slot
// already holds it, letter case ignored by the system's upper-case mapping. A full list drops
// the text without a word; slots are never reordered or emptied here.
#include "uninstall/undo_lists.h"

#include "script/system_routines.h"

namespace korvane {

bool AddUnlessPresent(const Platform& platform, std::vector<std::string>& list,
                      const std::string& text) {
  const std::string wanted = UpperCase(platform, text);
  for (std::string& slot : list) {
    if (slot.empty()) {
      slot = text;
      return !text.empty();
    }
    if (UpperCase(platform, slot) == wanted) return false;
  }
  return false;
}

}  // namespace korvane
