// The korvane command line as data: which command, its arguments and the run options.
// Parsing only; nothing here touches a machine.
#pragma once

#include <string>
#include <vector>

#include "app/commands.h"

namespace korvane {

enum class CommandKind {
  Help,
  Version,
  Setup,
  Unsetup,
  Programs,
  Remove,
  RegExport,
  RegImport,
  Path,
  Init
};

struct ParsedCommand {
  CommandKind kind = CommandKind::Help;
  std::string machine;     // --machine (UTF-8), or empty
  std::string packageDir;  // setup PKGDIR (host path), default "."
  std::string argument;    // setup ARG (code page 932)
  bool hasArgument = false;
  std::string record;       // unsetup RECORD (UTF-8 as given)
  std::string name;         // remove NAME (code page 932)
  std::string key;          // reg export KEY (UTF-8)
  std::string file;         // reg import FILE (host path)
  std::string windowsPath;  // path WINPATH (code page 932)
  char packageDrive = 'Q';  // --package-drive
  std::string answersFile;  // --answers (host path), read when the run starts
  RunOptions run;
};

/// Parses args (without the program name): false and a UTF-8 message for a wrong command
/// line.
bool ParseCommandLine(const std::vector<std::string>& args, ParsedCommand& command,
                      std::string& error);

/// The text of `korvane --help`.
std::string HelpText();

}  // namespace korvane
