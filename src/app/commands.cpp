// The korvane commands: parsing, the machine folder, and one run of the program (setup,
// unsetup, remove) with its front-end and transcript; the other commands live beside it.
// No state outlives a call: tests run many commands in one process.
#include "app/commands.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/command_line.h"
#include "app/info_commands.h"
#include "app/machine_paths.h"
#include "app/uninstall_entries.h"
#include "framework/application.h"
#include "frontend/console/answer_rules.h"
#include "frontend/console/json_transcript.h"
#include "frontend/console/terminal_front_end.h"
#include "frontend/console/unattended_front_end.h"
#include "platform/encoding.h"
#include "platform/posix/posix_machine.h"
#include "platform/registry.h"
#include "startup/program.h"

namespace fs = std::filesystem;

namespace korvane {

namespace {

constexpr int kExitUsage = 64;
constexpr int kExitInstanceRunning = 75;

// What the run of the program is started with.
struct RunTarget {
  posix::MachineOptions machine;
  std::string firstArgument;  // code page 932
  bool isSetup = false;
};

std::string GuiExecutable(const CommandIo& io) {
  if (io.selfPath.empty()) return "";
  fs::path gui = fs::path(io.selfPath).parent_path() / KORVANE_GUI_EXECUTABLE;
  return access(gui.c_str(), X_OK) == 0 ? gui.string() : "";
}

// Replaces this process with korvane-gui and the same arguments: returns only on failure.
void ExecGui(const std::string& gui, const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> all{gui};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  io.out.flush();
  io.err.flush();
  std::cout.flush();
  execv(gui.c_str(), argv.data());
  io.err << "korvane: cannot start " << gui << "\n";
}

int RunProgram(const ParsedCommand& command, RunTarget target, const std::string& machineDir,
               const std::vector<std::string>& args, CommandIo& io, const RunHooks& hooks,
               const FrontEndFactory& guiFactory) {
  const RunOptions& options = command.run;

  // The front-end, chosen before anything is opened.
  FrontEndChoice choice = options.frontEnd;
  if (choice == FrontEndChoice::Gui || choice == FrontEndChoice::Automatic) {
    bool guiAvailable = guiFactory != nullptr || !GuiExecutable(io).empty();
    if (choice == FrontEndChoice::Gui && !guiAvailable) {
      io.err << "korvane: --gui: the GUI (" << KORVANE_GUI_EXECUTABLE
             << ") is not installed beside korvane\n";
      return kExitUsage;
    }
    if (choice == FrontEndChoice::Gui || (io.displayAvailable && guiAvailable)) {
      if (guiFactory == nullptr) {
        ExecGui(GuiExecutable(io), args, io);
        return kExitUsage;
      }
      choice = FrontEndChoice::Gui;
    } else if (io.inputIsTerminal) {
      choice = FrontEndChoice::Console;
    } else {
      io.err << "korvane: no display and no terminal to ask the user: use --unattended to run "
                "without a user (see korvane --help)\n";
      return kExitUsage;
    }
  }

  std::map<std::string, int> answers;
  if (!command.answersFile.empty()) {
    std::ifstream file(command.answersFile, std::ios::binary);
    if (!file) {
      io.err << "korvane: --answers: cannot read " << command.answersFile << "\n";
      return kExitUsage;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::string error;
    if (!ParseAnswersFile(text.str(), answers, error)) {
      io.err << "korvane: --answers " << command.answersFile << ": " << error << "\n";
      return kExitUsage;
    }
  }
  for (const auto& [caption, answer] : options.answers) answers[caption] = answer;

  std::ofstream logFile;
  std::ostream* log = nullptr;
  if (options.logFile == "-") {
    log = &io.out;
  } else if (!options.logFile.empty()) {
    logFile.open(options.logFile, std::ios::binary | std::ios::trunc);
    if (!logFile) {
      io.err << "korvane: --log: cannot write " << options.logFile << "\n";
      return kExitUsage;
    }
    log = &logFile;
  }

  target.machine.machineDir = machineDir;
  target.machine.recordingClock = hooks.recordingClock;
  target.machine.programVersion = hooks.programVersion;
  std::string error;
  std::unique_ptr<posix::Machine> machine = posix::Machine::Open(target.machine, error);
  if (!machine) {
    io.err << "korvane: " << error << "\n";
    return kExitUsage;
  }
  Platform platform = machine->platform();
  std::unique_ptr<Registry> wrappedRegistry;
  if (hooks.wrapRegistry) {
    wrappedRegistry = hooks.wrapRegistry(*platform.registry);
    if (wrappedRegistry) platform.registry = wrappedRegistry.get();
  }

  Transcript quiet;  // no --log: the events go nowhere
  std::unique_ptr<JsonTranscript> json;
  if (log != nullptr) json = std::make_unique<JsonTranscript>(*log);
  Transcript& transcript = json ? static_cast<Transcript&>(*json) : quiet;

  std::unique_ptr<FrontEnd> frontEnd;
  if (choice == FrontEndChoice::Gui) {
    FrontEndRequest request{platform, io, options, hooks};
    frontEnd = guiFactory(request);
  } else if (choice == FrontEndChoice::Console) {
    TerminalSettings settings;
    settings.progressBar = io.errorIsTerminal;
    settings.interrupted = io.interrupted;
    frontEnd = std::make_unique<TerminalFrontEnd>(io.in, io.out, io.err, settings);
  } else {
    UnattendedSettings settings;
    settings.actions = hooks.actions;
    settings.answers = answers;
    settings.useAnswerRules = hooks.forceAnswerRules;
    settings.dir = options.dir;
    settings.overwrite = options.overwrite;
    settings.shortcuts = options.shortcuts;
    settings.browseAnswer = hooks.browseAnswer;
    settings.interrupted = io.interrupted;
    frontEnd = std::make_unique<UnattendedFrontEnd>(settings, io.err);
  }
  if (!frontEnd) {
    io.err << "korvane: the GUI front-end could not be started\n";
    return kExitUsage;
  }

  int exitCode = 0;
  {
    Application application(*frontEnd, transcript);
    ProgramOptions programOptions;
    programOptions.skipPauses = choice == FrontEndChoice::Unattended && !options.pace;
    Program program(platform, application, programOptions, target.firstArgument);
    bool ran = program.Run();
    if (!ran) {
      io.err << "korvane: another korvane is running on the machine folder " << machineDir << "\n";
      exitCode = kExitInstanceRunning;
    } else {
      exitCode = choice == FrontEndChoice::Gui ? 0 : program.ExitCode();
    }
  }
  transcript.End(exitCode);
  return exitCode;
}

// The program file of the uninstaller copy: UNKORVANE.EXE in the machine's Windows folder.
std::string UninstallerProgramFile(const std::string& machineDir, std::string& error) {
  posix::MachineOptions options;
  options.machineDir = machineDir;
  std::unique_ptr<posix::Machine> machine = posix::Machine::Open(options, error);
  if (!machine) return "";
  std::string windows = machine->platform().system->GetWindowsDirectory();
  if (windows.empty()) windows = "C:\\WINDOWS";
  if (windows.back() != '\\') windows += '\\';
  return windows + "UNKORVANE.EXE";
}

// The uninstall record named on the command line, as a Windows path.
bool RecordArgument(const std::string& machineDir, const std::string& record,
                    std::string& windowsPath, CommandIo& io) {
  if (LooksLikeWindowsPath(record)) {
    auto sjis = Utf8ToCp932(record);
    if (!sjis) {
      io.err << "korvane: RECORD cannot be written in code page 932: " << record << "\n";
      return false;
    }
    windowsPath = *sjis;
    // "C:/APP/UNSETUP.INI" is the same path; the program reads the name after a backslash.
    for (char& c : windowsPath) {
      if (c == '/') c = '\\';
    }
    return true;
  }
  if (!HostToWindowsPath(machineDir, record, windowsPath)) {
    io.err << "korvane: " << record << " is not inside a drive of the machine folder " << machineDir
           << "\n";
    return false;
  }
  return true;
}

int RunUnsetup(const ParsedCommand& command, const std::string& machineDir,
               const std::string& recordWindowsPath, const std::vector<std::string>& args,
               CommandIo& io, const RunHooks& hooks, const FrontEndFactory& guiFactory) {
  std::string error;
  RunTarget target;
  target.machine.programFile = UninstallerProgramFile(machineDir, error);
  if (target.machine.programFile.empty()) {
    io.err << "korvane: " << error << "\n";
    return kExitUsage;
  }
  target.firstArgument = recordWindowsPath;
  return RunProgram(command, target, machineDir, args, io, hooks, guiFactory);
}

}  // namespace

int RunKorvaneWithFrontEnd(const std::vector<std::string>& args, CommandIo& io,
                           const RunHooks* hooks, const FrontEndFactory& guiFactory) {
  RunHooks defaults;
  const RunHooks& runHooks = hooks != nullptr ? *hooks : defaults;
  ParsedCommand command;
  std::string error;
  if (args.empty()) {
    io.err << Cp932ToUtf8Lossy(HelpText());
    return kExitUsage;
  }
  if (!ParseCommandLine(args, command, error)) {
    io.err << "korvane: " << error << "\nTry 'korvane --help'.\n";
    return kExitUsage;
  }
  if (command.kind == CommandKind::Help) {
    io.out << Cp932ToUtf8Lossy(HelpText());
    return 0;
  }
  if (command.kind == CommandKind::Version) {
    io.out << "korvane " << RunHooks{}.programVersion << "\n";
    return 0;
  }
  const std::string machineDir = ChooseMachineDir(command.machine, io);
  if (machineDir.empty()) {
    io.err << "korvane: no machine folder: give --machine DIR or set KORVANE_MACHINE\n";
    return kExitUsage;
  }

  switch (command.kind) {
    case CommandKind::Setup: {
      std::error_code ec;
      fs::path package = fs::absolute(command.packageDir, ec);
      if (ec || !fs::is_directory(package, ec)) {
        io.err << "korvane: setup: " << command.packageDir << " is not a folder\n";
        return kExitUsage;
      }
      RunTarget target;
      target.isSetup = true;
      target.machine.packageDrive = command.packageDrive;
      target.machine.packageHostDir = package.lexically_normal().string();
      target.machine.programFile = std::string(1, command.packageDrive) + ":\\SETUP.EXE";
      target.firstArgument = command.argument;
      return RunProgram(command, target, machineDir, args, io, runHooks, guiFactory);
    }
    case CommandKind::Unsetup: {
      if (!posix::InitMachineFolder(machineDir, error)) {
        io.err << "korvane: " << error << "\n";
        return kExitUsage;
      }
      std::string record;
      if (!RecordArgument(machineDir, command.record, record, io)) return kExitUsage;
      return RunUnsetup(command, machineDir, record, args, io, runHooks, guiFactory);
    }
    case CommandKind::Remove: {
      std::string record;
      int code = FindRemoveRecord(machineDir, command.name, record, io);
      if (code != 0) return code;
      return RunUnsetup(command, machineDir, record, args, io, runHooks, guiFactory);
    }
    case CommandKind::Programs:
      return ProgramsCommand(machineDir, io);
    case CommandKind::RegExport:
      return RegExportCommand(machineDir, command.key, io);
    case CommandKind::RegImport:
      return RegImportCommand(machineDir, command.file, io);
    case CommandKind::Path:
      return PathCommand(machineDir, command.windowsPath, io);
    case CommandKind::Init:
      return InitCommand(machineDir, io);
    default:
      return kExitUsage;
  }
}

int RunKorvane(const std::vector<std::string>& args, CommandIo& io, const RunHooks* hooks) {
  return RunKorvaneWithFrontEnd(args, io, hooks, nullptr);
}

}  // namespace korvane
