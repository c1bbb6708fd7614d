// A scenario: a fresh machine folder and package folder in a temporary directory, and runs
// of the real korvane commands in-process, with the transcript captured as JSON events.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands.h"

namespace korvane::testing {

struct RunResult {
  int exitCode = -1;
  std::vector<nlohmann::json> events;  // transcript, UTF-8
  std::string out;                     // standard output (UTF-8)
  std::string err;                     // standard error (UTF-8)

  /// Events of one kind ("message", "ask", ...).
  std::vector<nlohmann::json> Of(const std::string& event) const;
  /// The texts of every "message" event, in order.
  std::vector<std::string> Messages() const;
  /// The captions of every "ask" event, in order.
  std::vector<std::string> AskCaptions() const;
  /// Whether some event of that kind has field == value.
  bool Has(const std::string& event, const std::string& field, const nlohmann::json& value) const;
};

class Scenario {
 public:
  Scenario();   // creates the temporary folders; the machine is created on first use
  ~Scenario();  // removes them

  const std::string& Root() const { return root_; }
  std::string MachineDir() const { return root_ + "/machine"; }
  std::string PackageDir() const { return root_ + "/pkg"; }

  /// Writes SETUP.INI into the package: UTF-8 text with LF lines in, CP932 with CR LF out.
  void WriteScript(const std::string& utf8Text);
  /// Writes a package file (relative host path, '/' separated; UTF-8 names) with raw bytes.
  void WritePackageFile(const std::string& relativePath, const std::string& bytes);
  /// Runs a command on this machine: "--machine DIR" is put in front of args (UTF-8).
  RunResult Run(std::vector<std::string> args, RunHooks hooks = DefaultHooks());
  /// korvane setup PKGDIR --unattended --log - plus extra args.
  RunResult Setup(std::vector<std::string> extraArgs = {}, RunHooks hooks = DefaultHooks());
  /// korvane unsetup RECORD --unattended --log - plus extra args.
  RunResult Unsetup(const std::string& recordWindowsPath, std::vector<std::string> extraArgs = {},
                    RunHooks hooks = DefaultHooks());

  // The machine's files, by Windows path in UTF-8 (converted to code page 932 inside).
  std::string HostPath(const std::string& windowsPathUtf8) const;
  bool Exists(const std::string& windowsPathUtf8) const;
  std::string Read(const std::string& windowsPathUtf8) const;   // raw bytes
  void Write(const std::string& windowsPathUtf8, const std::string& bytes) const;
  /// `korvane reg export [KEY]` output (UTF-8).
  std::string RegExport(const std::string& key = {});
  /// A profile value of a machine file, read as the system reads it (CP932 in, UTF-8 out).
  std::string Profile(const std::string& windowsPathUtf8, const std::string& section,
                      const std::string& key);

  static RunHooks DefaultHooks() {
    RunHooks hooks;
    hooks.recordingClock = true;
    return hooks;
  }

 private:
  std::string root_;
};

/// UTF-8 to code page 932 for test literals written in UTF-8 (u8"...").
std::string Sjis(const std::string& utf8);
/// Code page 932 to UTF-8.
std::string Utf8(const std::string& cp932);

}  // namespace korvane::testing
