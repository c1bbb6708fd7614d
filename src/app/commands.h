// The korvane command line: parsing, choosing the machine, the platform and the front-end,
// and running one command. main() only forwards to RunKorvane.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace korvane {

class Registry;

// A user action that a scripted run performs when its trigger shows (tests, --actions).
struct ScriptedAction {
  // Trigger: empty fields match anything; all given fields must match.
  std::string whenMessageContains;  // lblMessage caption contains this (code page 932)
  std::string whenButtonCaption;    // btnEvent caption equals this
  // Action.
  std::string click;                // control to click ("btnEvent", "btnEnd", "btnRefer", ...)
  std::string setText;              // control whose text to set ...
  std::string text;                 // ... to this
  int times = 1;                    // how often the trigger may fire
};

// What an in-process caller (tests) may change about a run; the command line cannot.
struct RunHooks {
  bool recordingClock = false;            // pauses recorded, never slept
  std::vector<ScriptedAction> actions;    // performed before the unattended answers
  std::string browseAnswer;               // folder the browser returns; empty = cancel
  std::string programVersion = "1.7.0.1695";
  bool forceAnswerRules = true;           // unattended answer rules for boxes no action covers
  // Wraps the machine's registry for the run (fault injection); unset: the registry itself.
  std::function<std::unique_ptr<Registry>(Registry& machineRegistry)> wrapRegistry;
};

struct CommandIo {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool inputIsTerminal = false;
  bool displayAvailable = false;
  std::string environmentMachine;  // $KORVANE_MACHINE, or empty
  std::string dataHome;            // $XDG_DATA_HOME or ~/.local/share
  std::string selfPath;            // path of the korvane executable (to find korvane-gui)
};

/// Runs one korvane command line (args without the program name): the exit code.
int RunKorvane(const std::vector<std::string>& args, CommandIo& io,
               const RunHooks* hooks = nullptr);

}  // namespace korvane
