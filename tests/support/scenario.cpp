// The scenario harness: a temporary machine and package folder, the real korvane commands
// run in-process, and their transcript read back as JSON events. Texts cross to the command
// line as UTF-8 and come back as code page 932, as the tests write them.
#include "support/scenario.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/encoding.h"
#include "platform/posix/posix_machine.h"

namespace fs = std::filesystem;

namespace korvane::testing {

namespace {

std::unique_ptr<posix::Machine> OpenMachine(const std::string& dir) {
  posix::MachineOptions options;
  options.machineDir = dir;
  options.recordingClock = true;
  std::string error;
  auto machine = posix::Machine::Open(options, error);
  if (!machine) ADD_FAILURE() << "cannot open the machine " << dir << ": " << error;
  return machine;
}

std::string ToSjisOrRaw(const std::string& utf8) {
  auto sjis = Utf8ToCp932(utf8);
  return sjis ? *sjis : utf8;
}

}  // namespace

std::string Sjis(const std::string& utf8) {
  auto sjis = Utf8ToCp932(utf8);
  EXPECT_TRUE(sjis.has_value()) << "no code page 932 form: " << utf8;
  return sjis ? *sjis : utf8;
}

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8Lossy(cp932); }

std::vector<nlohmann::json> RunResult::Of(const std::string& event) const {
  std::vector<nlohmann::json> found;
  for (const auto& e : events) {
    if (e.value("event", "") == event) found.push_back(e);
  }
  return found;
}

std::string RunResult::Text(const nlohmann::json& event, const std::string& field) {
  if (!event.contains(field) || !event[field].is_string()) return "";
  return ToSjisOrRaw(event[field].get<std::string>());
}

std::vector<std::string> RunResult::Messages() const {
  std::vector<std::string> texts;
  for (const auto& e : Of("message")) texts.push_back(Text(e, "text"));
  return texts;
}

std::vector<std::string> RunResult::AskCaptions() const {
  std::vector<std::string> captions;
  for (const auto& e : Of("ask")) captions.push_back(Text(e, "caption"));
  return captions;
}

bool RunResult::Has(const std::string& event, const std::string& field,
                    const nlohmann::json& value) const {
  nlohmann::json wanted =
      value.is_string() ? nlohmann::json(Utf8(value.get<std::string>())) : value;
  for (const auto& e : Of(event)) {
    if (e.contains(field) && e[field] == wanted) return true;
  }
  return false;
}

Scenario::Scenario() {
  std::string pattern = (fs::temp_directory_path() / "korvane-scenario-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed";
    return;
  }
  root_ = buffer.data();
  fs::create_directories(PackageDir());
}

Scenario::~Scenario() {
  if (root_.empty()) return;
  std::error_code ec;
  // Read-only files and folders left by a run must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(root_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(root_, ec);
}

void Scenario::WriteScript(const std::string& text) {
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  WritePackageFile("SETUP.INI", crlf);
}

void Scenario::WritePackageFile(const std::string& relativePath, const std::string& bytes) {
  fs::path path = fs::path(PackageDir()) / relativePath;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

RunResult Scenario::Run(std::vector<std::string> args, RunHooks hooks) {
  args.insert(args.begin(), {"--machine", MachineDir()});
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
  CommandIo io{out, err, in};
  RunResult result;
  result.exitCode = RunKorvane(args, io, &hooks);

  // Transcript lines (--log -) become events; everything else is standard output.
  std::istringstream lines(out.str());
  std::string line;
  std::string rest;
  while (std::getline(lines, line)) {
    if (line.rfind("{\"event\":", 0) == 0) {
      try {
        result.events.push_back(nlohmann::json::parse(line));
        continue;
      } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "transcript line is not JSON: " << line << " (" << e.what() << ")";
      }
    }
    rest += line + "\n";
  }
  result.out = ToSjisOrRaw(rest);
  result.err = ToSjisOrRaw(err.str());
  return result;
}

RunResult Scenario::Setup(std::vector<std::string> extraArgs, RunHooks hooks) {
  std::vector<std::string> args{"setup", PackageDir(), "--unattended", "--log", "-"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  return Run(args, std::move(hooks));
}

RunResult Scenario::Unsetup(const std::string& recordWindowsPath,
                            std::vector<std::string> extraArgs, RunHooks hooks) {
  std::vector<std::string> args{"unsetup", Utf8(recordWindowsPath), "--unattended", "--log", "-"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  return Run(args, std::move(hooks));
}

std::string Scenario::HostPath(const std::string& windowsPath) const {
  auto machine = OpenMachine(MachineDir());
  if (!machine) return "";
  std::string host;
  uint32_t result = machine->HostPath(windowsPath, host);
  EXPECT_EQ(result, 0u) << "no host path for " << Utf8(windowsPath);
  return host;
}

bool Scenario::Exists(const std::string& windowsPath) const {
  std::string host = HostPath(windowsPath);
  std::error_code ec;
  return !host.empty() && fs::exists(fs::symlink_status(host, ec));
}

std::string Scenario::Read(const std::string& windowsPath) const {
  std::ifstream in(HostPath(windowsPath), std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << Utf8(windowsPath);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Scenario::Write(const std::string& windowsPath, const std::string& bytes) const {
  fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out << bytes;
  EXPECT_TRUE(out.good()) << "cannot write " << Utf8(windowsPath);
}

std::string Scenario::RegExport(const std::string& key) {
  std::vector<std::string> args{"reg", "export"};
  if (!key.empty()) args.push_back(Utf8(key));
  RunResult result = Run(args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return result.out;
}

std::string Scenario::Profile(const std::string& windowsPath, const std::string& section,
                              const std::string& key) {
  auto machine = OpenMachine(MachineDir());
  if (!machine) return "";
  return machine->platform().profiles->GetString(section, key, "", 255, windowsPath);
}

}  // namespace korvane::testing
