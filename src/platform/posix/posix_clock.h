// The two clocks: the real one sleeps, the recording one notes each pause and returns at once
// (its tick count moves on by the pauses it skipped, so elapsed-time logic still sees them).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace korvane::posix {

class PosixClock : public Clock {
 public:
  void Sleep(uint32_t ms) override;
  uint64_t TickCount() override;
};

class RecordingClock : public Clock {
 public:
  void Sleep(uint32_t ms) override;
  uint64_t TickCount() override;
  const std::vector<uint32_t>& Pauses() const { return pauses_; }

 private:
  std::vector<uint32_t> pauses_;
  uint64_t skipped_ = 0;
};

}  // namespace korvane::posix
