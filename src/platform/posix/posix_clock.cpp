// Sleep and GetTickCount on the monotonic clock. Sleeping resumes after signals until the
// whole pause has passed.
#include "platform/posix/posix_clock.h"

#include <time.h>

#include <cerrno>

namespace korvane::posix {
namespace {

uint64_t MonotonicMs() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace

void PosixClock::Sleep(uint32_t ms) {
  struct timespec left = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

uint64_t PosixClock::TickCount() { return MonotonicMs(); }

void RecordingClock::Sleep(uint32_t ms) {
  pauses_.push_back(ms);
  skipped_ += ms;
}

uint64_t RecordingClock::TickCount() { return MonotonicMs() + skipped_; }

}  // namespace korvane::posix
