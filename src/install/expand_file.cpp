// ExpandFile: the target name for AUTO.EXT from the name stored in the compressed file, and the
// expansion into the one temporary file EXPAND.KVT. A source that cannot be opened or expanded
// leaves no temporary file and reports its error, so that nothing partial reaches a target.
#include "install/expand_file.h"

#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

std::string ExpandFile(Program& program, const std::string& source, const std::string& target,
                       uint32_t* error) {
  const Platform& platform = program.platform();
  std::string finalTarget = target;
  if (NamePart(target) == kAutoExtName) {
    std::string name = UpperCase(platform, NamePart(platform.lz->GetExpandedName(source)));
    finalTarget = RemoveBackslash(FolderPart(target), kSideBack) + "\\" + name;
  }

  const std::string temporary =
      RemoveBackslash(program.state.TempFolder, kSideBack) + "\\" + kExpandFileName;
  if (FileExists(platform, temporary)) FileRemove(platform, temporary);

  uint32_t result = platform.lz->Expand(source, temporary);
  // Bad or truncated compressed data is reported as the corrupt file it is.
  if (result == kErrorInvalidData) result = kErrorFileCorrupt;
  if (result != kErrorSuccess && FileExists(platform, temporary)) FileRemove(platform, temporary);
  if (error) *error = result;
  return temporary + "," + finalTarget;
}

}  // namespace korvane
