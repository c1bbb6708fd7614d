// Parsing of the korvane command line with CLI11. Texts that reach the program (the first
// argument, captions, folders, names) are converted from UTF-8 to code page 932 here.
#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>

#include "frontend/console/answer_rules.h"
#include "platform/encoding.h"

namespace korvane {

namespace {

struct RawRunOptions {
  bool gui = false;
  bool console = false;
  bool unattended = false;
  std::string dir;
  std::string overwrite;
  std::string shortcuts;
  std::vector<std::string> answers;
  std::string answersFile;
  std::string log;
  bool pace = false;
  std::string packageDrive;
};

void AddRunOptions(CLI::App* command, RawRunOptions& raw, bool packageDrive) {
  command->add_flag("--gui", raw.gui);
  command->add_flag("--console", raw.console);
  command->add_flag("--unattended", raw.unattended);
  command->add_option("--dir", raw.dir);
  command->add_option("--overwrite", raw.overwrite);
  command->add_option("--shortcuts", raw.shortcuts);
  command->add_option("--answer", raw.answers)->allow_extra_args(false);
  command->add_option("--answers", raw.answersFile);
  command->add_option("--log", raw.log);
  command->add_flag("--pace", raw.pace);
  if (packageDrive) command->add_option("--package-drive", raw.packageDrive);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ToSjis(const std::string& utf8, const std::string& what, std::string& out,
            std::string& error) {
  auto sjis = Utf8ToCp932(utf8);
  if (!sjis) {
    error = what + " cannot be written in code page 932: " + utf8;
    return false;
  }
  out = *sjis;
  return true;
}

bool BuildRunOptions(const RawRunOptions& raw, CLI::App* command, ParsedCommand& parsed,
                     std::string& error) {
  RunOptions& run = parsed.run;
  if (raw.gui + raw.console + raw.unattended > 1) {
    error = "choose one of --gui, --console and --unattended";
    return false;
  }
  if (raw.gui) run.frontEnd = FrontEndChoice::Gui;
  if (raw.console) run.frontEnd = FrontEndChoice::Console;
  if (raw.unattended) run.frontEnd = FrontEndChoice::Unattended;
  if (command->count("--dir") > 0) {
    std::string dir;
    if (!ToSjis(raw.dir, "--dir", dir, error)) return false;
    run.dir = dir;
  }
  if (command->count("--overwrite") > 0) {
    std::string v = Lower(raw.overwrite);
    if (v != "yes" && v != "no") {
      error = "--overwrite takes yes or no, not " + raw.overwrite;
      return false;
    }
    run.overwrite = v == "yes";
  }
  if (command->count("--shortcuts") > 0) {
    static const char* const kWords[4] = {"desktop", "startmenu", "startup", "sendto"};
    std::vector<bool> boxes(4, false);
    std::string list = Lower(raw.shortcuts);
    if (list == "all") {
      boxes.assign(4, true);
    } else if (list != "none") {
      size_t start = 0;
      while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string word = list.substr(start, comma == std::string::npos ? comma : comma - start);
        auto it = std::find(std::begin(kWords), std::end(kWords), word);
        if (it == std::end(kWords)) {
          error =
              "--shortcuts takes all, none or a comma list of desktop,startmenu,startup,"
              "sendto; unknown: " +
              word;
          return false;
        }
        boxes[it - std::begin(kWords)] = true;
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    }
    run.shortcuts = boxes;
  }
  for (const std::string& item : raw.answers) {
    size_t eq = item.rfind('=');
    std::optional<int> answer;
    if (eq != std::string::npos && eq > 0) answer = ParseAnswerWord(item.substr(eq + 1));
    if (!answer) {
      error = "--answer takes CAPTION=Yes|No|OK|Cancel, not " + item;
      return false;
    }
    std::string caption;
    if (!ToSjis(item.substr(0, eq), "--answer caption", caption, error)) return false;
    if (Lower(caption) == kRestartCaption) caption = kRestartCaption;
    run.answers[caption] = *answer;
  }
  parsed.answersFile = raw.answersFile;
  if (command->count("--log") > 0) {
    if (raw.log.empty()) {
      error = "--log needs a file name (or - for standard output)";
      return false;
    }
    run.logFile = raw.log;
  }
  run.pace = raw.pace;
  if (!raw.packageDrive.empty()) {
    std::string d = raw.packageDrive;
    if (!((d.size() == 1 || (d.size() == 2 && d[1] == ':')) &&
          std::isalpha(static_cast<unsigned char>(d[0])))) {
      error = "--package-drive takes a drive letter such as Q:, not " + d;
      return false;
    }
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(d[0])));
    if (letter == 'C') {
      error = "--package-drive cannot be C:, the machine's system drive";
      return false;
    }
    parsed.packageDrive = letter;
  }
  return true;
}

}  // namespace

std::string HelpText() {
  return R"(korvane 1.7.0.1695 - script-driven installer and uninstaller for a Windows 98
machine kept in a folder

Usage:
  korvane [--machine DIR] setup [PKGDIR] [ARG] [run options]
  korvane [--machine DIR] unsetup RECORD [run options]
  korvane [--machine DIR] programs
  korvane [--machine DIR] remove NAME [run options]
  korvane [--machine DIR] reg export [KEY]
  korvane [--machine DIR] reg import FILE
  korvane [--machine DIR] path WINPATH
  korvane [--machine DIR] init
  korvane --help | --version

Commands:
  setup [PKGDIR] [ARG]  run the installer shipped in PKGDIR (default: the current folder),
                        reached as drive Q: (read-only); ARG is its first argument
  unsetup RECORD        run the uninstaller copy on an uninstall record (a Windows path such
                        as C:\APPS\UNSETUP.INI, or a host path inside one of the drives)
  programs              list the uninstall entries: KEY<TAB>DisplayName<TAB>UninstallString
  remove NAME           uninstall the entry with that key name or DisplayName (any case)
  reg export [KEY]      print the registry, or the tree below KEY, in the REGEDIT4 layout
  reg import FILE       read a REGEDIT4 or "Windows Registry Editor Version 5.00" file
  path WINPATH          print the host path of a Windows path
  init                  create the machine folder (only what is missing)

Options:
  --machine DIR         the machine folder; else $KORVANE_MACHINE, else
                        $XDG_DATA_HOME/korvane/machine (~/.local/share/korvane/machine)
  --help                this text
  --version             print the version

Run options (setup, unsetup, remove):
  (none)                the GUI when a display is available, else the terminal when standard
                        input is a terminal; otherwise the run refuses to start (exit 64)
  --gui, --console      force that front-end
  --unattended          no window and no prompt: buttons pressed as a user would, questions
                        answered by the rules, pauses skipped unless --pace
  --dir WINPATH         the setup folder put into the window before the start
  --overwrite yes|no    the state of the overwrite option
  --shortcuts LIST      all, none, or a comma list of desktop,startmenu,startup,sendto
  --answer CAPTION=ANSWER
                        answer every question with that caption (Yes, No, OK, Cancel);
                        repeatable; restart=Yes answers the restart question
  --answers FILE        the same from a file: section [Answers], CAPTION=ANSWER lines, UTF-8
  --log FILE            write the transcript (JSON lines) to FILE; - for standard output
  --pace                keep the script's pauses in an unattended run
  --package-drive X:    the drive letter of the package folder (setup; default Q:)

Unattended answers unless told otherwise: フォルダ作成 Yes, 空き容量不足 Yes, 上書き確認 No,
ディスク交換 OK (Cancel when the same disk is asked for a third time), 関連付けの確認 Yes,
警告 No, ファイル削除の確認 No, 終了確認 Yes, 中断の確認 Yes, restart No; an answer that is
not one of the box's buttons gives its first button. Ctrl-C during a run presses the abort
button; a second Ctrl-C before the first is taken ends korvane at once.

Exit codes: 0 completed, 1 completed with failures, 2 stopped (space, folder, disk),
3 aborted, 4 start-up failed, 5 an error ended the run, 6 completed and Windows must be
restarted, 64 wrong command line (or unusable machine folder, log or answers file),
75 another instance is running on this machine folder. The GUI keeps exit code 0.
)";
}

bool ParseCommandLine(const std::vector<std::string>& args, ParsedCommand& parsed,
                      std::string& error) {
  CLI::App app{"korvane"};
  app.set_help_flag();  // --help is ours, so it prints the whole text
  app.fallthrough();
  bool help = false;
  bool version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_option("--machine", parsed.machine);
  app.require_subcommand(0, 1);

  RawRunOptions raw;
  std::string argument;
  std::string name;
  std::string windowsPath;
  auto* setup = app.add_subcommand("setup");
  setup->add_option("PKGDIR", parsed.packageDir);
  setup->add_option("ARG", argument);
  AddRunOptions(setup, raw, true);
  auto* unsetup = app.add_subcommand("unsetup");
  unsetup->add_option("RECORD", parsed.record)->required();
  AddRunOptions(unsetup, raw, false);
  auto* programs = app.add_subcommand("programs");
  auto* remove = app.add_subcommand("remove");
  remove->add_option("NAME", name)->required();
  AddRunOptions(remove, raw, false);
  auto* reg = app.add_subcommand("reg");
  reg->require_subcommand(1, 1);
  auto* regExport = reg->add_subcommand("export");
  regExport->add_option("KEY", parsed.key);
  auto* regImport = reg->add_subcommand("import");
  regImport->add_option("FILE", parsed.file)->required();
  auto* path = app.add_subcommand("path");
  path->add_option("WINPATH", windowsPath)->required();
  auto* init = app.add_subcommand("init");

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (help || std::find(args.begin(), args.end(), "--help") != args.end()) {
      parsed.kind = CommandKind::Help;
      return true;
    }
    error = e.what();
    return false;
  }
  if (help) {
    parsed.kind = CommandKind::Help;
    return true;
  }
  if (version) {
    parsed.kind = CommandKind::Version;
    return true;
  }
  CLI::App* run = nullptr;
  if (*setup) {
    parsed.kind = CommandKind::Setup;
    if (parsed.packageDir.empty()) parsed.packageDir = ".";
    parsed.hasArgument = setup->count("ARG") > 0;
    if (!ToSjis(argument, "ARG", parsed.argument, error)) return false;
    run = setup;
  } else if (*unsetup) {
    parsed.kind = CommandKind::Unsetup;
    run = unsetup;
  } else if (*programs) {
    parsed.kind = CommandKind::Programs;
  } else if (*remove) {
    parsed.kind = CommandKind::Remove;
    if (!ToSjis(name, "NAME", parsed.name, error)) return false;
    run = remove;
  } else if (*regExport) {
    parsed.kind = CommandKind::RegExport;
  } else if (*regImport) {
    parsed.kind = CommandKind::RegImport;
  } else if (*path) {
    parsed.kind = CommandKind::Path;
    if (!ToSjis(windowsPath, "WINPATH", parsed.windowsPath, error)) return false;
  } else if (*init) {
    parsed.kind = CommandKind::Init;
  } else {
    error = "no command given";
    return false;
  }
  if (run != nullptr && !BuildRunOptions(raw, run, parsed, error)) return false;
  return true;
}

}  // namespace korvane
