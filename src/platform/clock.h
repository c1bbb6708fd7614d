// Pauses and time. A real clock sleeps; a test clock records the pauses and returns at once.
#pragma once

#include <cstdint>

namespace korvane {

class Clock {
 public:
  virtual ~Clock() = default;
  /// Sleep: pauses the calling thread for ms milliseconds (never fails).
  virtual void Sleep(uint32_t ms) = 0;
  /// GetTickCount: milliseconds since an arbitrary start (never fails).
  virtual uint64_t TickCount() = 0;
};

}  // namespace korvane
