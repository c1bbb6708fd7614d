// The process entry: reads this process's environment, terminals and executable path into
// CommandIo, turns Ctrl-C into a flag that the run's front-end consumes, and runs the
// command line. The only process-wide state of the program lives here.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <iostream>

#include "app/commands.h"

namespace korvane {

namespace {

std::atomic<bool> gInterrupted{false};

// A second Ctrl-C before the run has taken the first ends the process at once (the
// machine's lock is released by the kernel).
void OnInterrupt(int signal) {
  if (gInterrupted.exchange(true)) {
    ::signal(signal, SIG_DFL);
    raise(signal);
  }
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string SelfPath(const char* argv0) {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) return std::string(buffer, static_cast<size_t>(n));
  return argv0 != nullptr ? argv0 : "";
}

}  // namespace

int KorvaneMain(int argc, char** argv, const FrontEndFactory& guiFactory) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  CommandIo io{std::cout, std::cerr, std::cin};
  io.inputIsTerminal = isatty(STDIN_FILENO) == 1;
  io.errorIsTerminal = isatty(STDERR_FILENO) == 1;
  io.displayAvailable = !Environment("DISPLAY").empty() || !Environment("WAYLAND_DISPLAY").empty();
  io.environmentMachine = Environment("KORVANE_MACHINE");
  io.dataHome = Environment("XDG_DATA_HOME");
  if (io.dataHome.empty() && !Environment("HOME").empty()) {
    io.dataHome = Environment("HOME") + "/.local/share";
  }
  io.selfPath = SelfPath(argc > 0 ? argv[0] : nullptr);

  // Ctrl-C asks the run to abort as the abort button does.
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = 0;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  io.interrupted = &gInterrupted;

  int code = guiFactory ? RunKorvaneWithFrontEnd(args, io, nullptr, guiFactory)
                        : RunKorvane(args, io, nullptr);
  std::cout.flush();
  return code;
}

}  // namespace korvane
