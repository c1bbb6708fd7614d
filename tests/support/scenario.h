// A scenario: a fresh machine folder and package folder in a temporary directory, and runs
// of the real korvane commands in-process, with the transcript captured as JSON events.
// Tests are compiled with code page 932 literals, so every text in and out of this API is
// code page 932 unless it says UTF-8; the harness converts at the command line's edge.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands.h"

namespace korvane::testing {

struct RunResult {
  int exitCode = -1;
  std::vector<nlohmann::json> events;  // transcript as written (UTF-8 inside the JSON)
  std::string out;                     // standard output, converted to code page 932
  std::string err;                     // standard error, converted to code page 932

  /// Events of one kind ("message", "ask", ...).
  std::vector<nlohmann::json> Of(const std::string& event) const;
  /// The texts of every "message" event, in order (code page 932).
  std::vector<std::string> Messages() const;
  /// The captions of every "ask" event, in order (code page 932).
  std::vector<std::string> AskCaptions() const;
  /// A text field of an event converted to code page 932.
  static std::string Text(const nlohmann::json& event, const std::string& field);
  /// Whether some event of that kind has field == value (a string value is code page 932).
  bool Has(const std::string& event, const std::string& field, const nlohmann::json& value) const;
};

class Scenario {
 public:
  Scenario();   // creates the temporary folders; the machine is created on first use
  ~Scenario();  // removes them

  const std::string& Root() const { return root_; }
  std::string MachineDir() const { return root_ + "/machine"; }
  std::string PackageDir() const { return root_ + "/pkg"; }

  /// Writes SETUP.INI into the package: LF lines in, CR LF lines out.
  void WriteScript(const std::string& text);
  /// Writes a package file (relative path, '/' separated) with raw bytes.
  void WritePackageFile(const std::string& relativePath, const std::string& bytes);
  /// Runs a command on this machine: "--machine DIR" is put in front of args, which are the
  /// command line as a user types it (UTF-8, like --answer 警告=Yes written with u8 texts).
  RunResult Run(std::vector<std::string> args, RunHooks hooks = DefaultHooks());
  /// korvane setup PKGDIR --unattended --log - plus extra args.
  RunResult Setup(std::vector<std::string> extraArgs = {}, RunHooks hooks = DefaultHooks());
  /// korvane unsetup RECORD --unattended --log - plus extra args.
  RunResult Unsetup(const std::string& recordWindowsPath, std::vector<std::string> extraArgs = {},
                    RunHooks hooks = DefaultHooks());

  // The machine's files, by Windows path.
  std::string HostPath(const std::string& windowsPath) const;  // host path, UTF-8
  bool Exists(const std::string& windowsPath) const;
  std::string Read(const std::string& windowsPath) const;  // raw bytes
  void Write(const std::string& windowsPath, const std::string& bytes) const;
  /// `korvane reg export [KEY]` output, converted to code page 932.
  std::string RegExport(const std::string& key = {});
  /// A profile value of a machine file, read as the system reads it.
  std::string Profile(const std::string& windowsPath, const std::string& section,
                      const std::string& key);

  static RunHooks DefaultHooks() {
    RunHooks hooks;
    hooks.recordingClock = true;
    return hooks;
  }

 private:
  std::string root_;
};

/// UTF-8 to code page 932.
std::string Sjis(const std::string& utf8);
/// Code page 932 to UTF-8.
std::string Utf8(const std::string& cp932);

}  // namespace korvane::testing
