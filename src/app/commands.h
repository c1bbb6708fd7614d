// The korvane command line: parsing, choosing the machine, the platform and the front-end,
// and running one command. main() only forwards to RunKorvane.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

class FrontEnd;
class Registry;
struct Platform;

// A user action that a scripted run performs when its trigger shows (tests, --actions).
struct ScriptedAction {
  // Trigger: empty fields match anything; all given fields must match.
  std::string whenMessageContains;  // lblMessage caption contains this (code page 932)
  std::string whenButtonCaption;    // btnEvent caption equals this
  // Action.
  std::string click;    // control to click ("btnEvent", "btnEnd", "btnRefer", ...)
  std::string setText;  // control whose text to set ...
  std::string text;     // ... to this
  int times = 1;        // how often the trigger may fire
};

// What an in-process caller (tests) may change about a run; the command line cannot.
struct RunHooks {
  bool recordingClock = false;          // pauses recorded, never slept
  std::vector<ScriptedAction> actions;  // performed before the unattended answers
  std::string browseAnswer;             // folder the browser returns; empty = cancel
  std::string programVersion = "1.7.0.1695";
  bool forceAnswerRules = true;  // unattended answer rules for boxes no action covers
  // Wraps the machine's registry for the run (fault injection); unset: the registry itself.
  std::function<std::unique_ptr<Registry>(Registry& machineRegistry)> wrapRegistry;
};

struct CommandIo {
  CommandIo(std::ostream& out, std::ostream& err, std::istream& in) : out(out), err(err), in(in) {}

  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool inputIsTerminal = false;
  bool displayAvailable = false;
  std::string environmentMachine;            // $KORVANE_MACHINE, or empty
  std::string dataHome;                      // $XDG_DATA_HOME or ~/.local/share
  std::string selfPath;                      // path of the korvane executable (to find korvane-gui)
  bool errorIsTerminal = false;              // standard error is a terminal (progress bar)
  std::atomic<bool>* interrupted = nullptr;  // set by Ctrl-C; the run's front-end consumes it
};

// Which front-end a run asks for.
enum class FrontEndChoice { Automatic, Gui, Console, Unattended };

// The run options of setup, unsetup and remove, as parsed (texts code page 932).
struct RunOptions {
  FrontEndChoice frontEnd = FrontEndChoice::Automatic;
  std::optional<std::string> dir;              // --dir
  std::optional<bool> overwrite;               // --overwrite
  std::optional<std::vector<bool>> shortcuts;  // --shortcuts: desktop, startmenu, startup, sendto
  std::map<std::string, int> answers;          // caption -> 1, 2, 6, 7 ("restart" included)
  std::string logFile;                         // --log; "-" is standard output
  bool pace = false;                           // --pace
};

// What a front-end factory is given to make the front-end of one run.
struct FrontEndRequest {
  Platform& platform;
  CommandIo& io;
  const RunOptions& options;
  const RunHooks& hooks;
};

using FrontEndFactory = std::function<std::unique_ptr<FrontEnd>(const FrontEndRequest&)>;

/// Runs one korvane command line (args without the program name): the exit code.
int RunKorvane(const std::vector<std::string>& args, CommandIo& io,
               const RunHooks* hooks = nullptr);

/// RunKorvane for an executable that brings its own GUI front-end (korvane-gui): runs that
/// choose the GUI get the front-end that guiFactory makes instead of starting korvane-gui.
int RunKorvaneWithFrontEnd(const std::vector<std::string>& args, CommandIo& io,
                           const RunHooks* hooks, const FrontEndFactory& guiFactory);

/// The process entry: the command line, environment, terminals and Ctrl-C of this process,
/// then RunKorvane (or RunKorvaneWithFrontEnd when guiFactory is given).
int KorvaneMain(int argc, char** argv, const FrontEndFactory& guiFactory = nullptr);

}  // namespace korvane
