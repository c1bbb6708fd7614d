// The state of one run, set when it starts: options taken from the window, the failure log,
// disk and byte counters, and the setup folder.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

struct RunState {
  bool OptOverwrite = true;
  bool OptDesktop = true;
  bool OptStartMenu = true;
  bool OptStartUp = true;
  bool OptSendTo = true;
  std::string FailureLog;   // tag line and error line per failure, each ending in CR LF
  int32_t FailureCount = 0;
  int DiskNumber = 1;
  int64_t TotalBytes = 0;   // 64-bit so that payloads over 2 GiB are measured truly
  int64_t CopiedBytes = 0;
  bool ByteCountValid = true;
  std::string SetupFolder;
  std::string EarlierRecordPath;
};

}  // namespace korvane
