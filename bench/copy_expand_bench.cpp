// Times the unattended setup run against the host's own tools on the same files, in the same
// run: copying a 1 GiB payload (against cp) and expanding a 256 MiB SZDD file (against
// msexpand, the file made by mscompress here). Prints wall times, the ratios and each child's
// peak memory. A benchmark, not a test: it asserts nothing and ctest never runs it.
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Measure {
  double seconds = 0;
  long peakKiB = 0;
  int exitCode = -1;
};

// Runs argv as a child (standard output to /dev/null unless keepOutput) and measures it.
Measure RunChild(const std::vector<std::string>& argv, bool keepOutput = false) {
  std::fflush(nullptr);  // a child must not write out the parent's pending output again
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (!keepOutput && !std::freopen("/dev/null", "w", stdout)) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKiB = usage.ru_maxrss;
  m.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return m;
}

// Writes size bytes of text-like data (compressible, not trivially so).
void WritePayload(const fs::path& path, uint64_t size, uint32_t seed) {
  static const char* const kWords[] = {"komorebi ", "techo ",  "page ",  "1998 ", "diary ",
                                       "sunlight ", "leaves ", "quiet ", "ink ",  "\r\n"};
  std::mt19937 random(seed);
  std::string block;
  while (block.size() < (1u << 20)) block += kWords[random() % 10];
  block.resize(1u << 20);
  std::ofstream out(path, std::ios::binary);
  for (uint64_t written = 0; written < size; written += block.size()) {
    // Vary each block a little so that the whole file is not one repeated megabyte.
    for (int i = 0; i < 64; ++i) block[random() % block.size()] = 'a' + random() % 26;
    out.write(block.data(),
              static_cast<std::streamsize>(std::min<uint64_t>(block.size(), size - written)));
  }
}

void WriteScript(const fs::path& package, const std::string& copyFileLines) {
  std::ofstream out(package / "SETUP.INI", std::ios::binary);
  out << "[Extend]\r\nSetupSpeed=1\r\n[Title]\r\nSetup=Bench\r\n[DefaultFolder]\r\n"
         "Folder=C:\\BENCH\\\r\n[CopyFile]\r\n"
      << copyFileLines;
}

void Report(const char* what, const Measure& ours, const char* tool, const Measure& theirs) {
  std::printf(
      "%-28s korvane %7.2f s (exit %d, peak %ld KiB)   %-8s %7.2f s (peak %ld KiB)   "
      "ratio %.2f\n",
      what, ours.seconds, ours.exitCode, ours.peakKiB, tool, theirs.seconds, theirs.peakKiB,
      theirs.seconds > 0 ? ours.seconds / theirs.seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "korvane-bench";
  const uint64_t kCopyBytes = uint64_t{1} << 30;
  const uint64_t kExpandBytes = uint64_t{256} << 20;
  const std::string korvane = KORVANE_EXECUTABLE;

  fs::remove_all(work);
  fs::create_directories(work / "copy-pkg");
  fs::create_directories(work / "expand-pkg");
  fs::create_directories(work / "host");

  std::printf("korvane_bench: preparing payloads in %s\n", work.c_str());
  std::fflush(stdout);
  // 1 GiB in four files, as a payload usually comes.
  std::string copyLines;
  for (int i = 1; i <= 4; ++i) {
    std::string name = "PART" + std::to_string(i) + ".DAT";
    WritePayload(work / "copy-pkg" / name, kCopyBytes / 4, i);
    copyLines += "File" + std::to_string(i) + "=(App)\\" + name + "\r\n";
  }
  WriteScript(work / "copy-pkg", copyLines);

  WritePayload(work / "expand-pkg" / "BIG.DAT", kExpandBytes, 99);
  Measure compress = RunChild({"mscompress", (work / "expand-pkg" / "BIG.DAT").string()});
  if (compress.exitCode != 0) {
    std::fprintf(stderr, "korvane_bench: mscompress failed (exit %d)\n", compress.exitCode);
    return 1;
  }
  fs::remove(work / "expand-pkg" / "BIG.DAT");
  WriteScript(work / "expand-pkg", "File1=(App)\\BIG.DAT_\r\n");
  std::printf("mscompress made BIG.DAT_ (%ju bytes) in %.2f s\n",
              static_cast<uintmax_t>(fs::file_size(work / "expand-pkg" / "BIG.DAT_")),
              compress.seconds);

  // Copy: korvane's unattended run, then cp of the same files.
  Measure ours = RunChild({korvane, "--machine", (work / "m1").string(), "setup",
                           (work / "copy-pkg").string(), "--unattended"});
  std::vector<std::string> cp = {"cp"};
  for (int i = 1; i <= 4; ++i)
    cp.push_back((work / "copy-pkg" / ("PART" + std::to_string(i) + ".DAT")).string());
  cp.push_back((work / "host").string());
  Measure theirs = RunChild(cp);
  Report("copy 1 GiB (4 files)", ours, "cp", theirs);
  fs::remove_all(work / "m1");
  fs::remove_all(work / "host");
  fs::create_directories(work / "host");

  // Expansion: korvane's unattended run, then msexpand of the same file.
  ours = RunChild({korvane, "--machine", (work / "m2").string(), "setup",
                   (work / "expand-pkg").string(), "--unattended"});
  fs::copy_file(work / "expand-pkg" / "BIG.DAT_", work / "host" / "BIG.DAT_");
  theirs = RunChild({"msexpand", (work / "host" / "BIG.DAT_").string()});
  Report("expand 256 MiB SZDD", ours, "msexpand", theirs);

  fs::remove_all(work);
  return 0;
}
