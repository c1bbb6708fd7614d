// The copy phase: for each FileList entry the disk change, the expansion of a compressed
// source, the overwrite rules, the copy, COM registration, the byte tally, progress, pacing,
// and the failure line or the record. It creates no folders and never stops on a failed file;
// a compressed source that cannot be expanded never reaches its target.
#include "install/copy_phase.h"

#include "framework/message_box.h"
#include "install/com_registration.h"
#include "install/expand_file.h"
#include "install/run_macros.h"
#include "install/setup_run.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

void AskForDisk(Program& program, const std::string& source) {
  const std::string text =
      std::to_string(program.run.DiskNumber) + "枚目のディスクに交換してください．";
  for (;;) {
    program.state.LastAnswer = program.frmMain.Ask(text, "ディスク交換", kStyleInformationOkCancel);
    if (program.state.LastAnswer == kIdCancel) {
      StopRun(program, "セットアップを続行できませんでした．", "致命的エラー");
    }
    if (FileExists(program.platform(), source)) return;
  }
}

bool DecideCopy(Program& program, const std::string& source, const std::string& target) {
  const Platform& platform = program.platform();
  if (!FileExists(platform, target)) return true;
  if (!program.run.OptOverwrite) {
    program.state.MessageText =
        target + "\r\r" + "このファイルは既に存在します．\r" + "上書きしてもよろしいですか？";
    program.state.LastAnswer =
        program.frmMain.Ask(program.state.MessageText, "上書き確認", kStyleQuestion);
    return program.state.LastAnswer == kIdYes;
  }
  return FileDate(platform, target) < FileDate(platform, source);
}

void TallyCopied(Program& program, const std::string& source) {
  RunState& run = program.run;
  if (!run.ByteCountValid) return;
  std::optional<FindData> entry = FindFirstEntry(program.platform(), source, kAttrAnyFile);
  if (!entry) {
    run.ByteCountValid = false;
    return;
  }
  int64_t size = static_cast<int64_t>(entry->size);
  if (size < 0) {
    run.ByteCountValid = false;
    size = 0;
  } else if (size == 0) {
    size = 1;
  }
  run.CopiedBytes += size;
}

void ShowProgress(Program& program, int index, int count) {
  const RunState& run = program.run;
  int percent;
  if (run.ByteCountValid && run.TotalBytes > 0) {
    percent = static_cast<int>(static_cast<double>(run.CopiedBytes) /
                               static_cast<double>(run.TotalBytes) * 100);
  } else {
    percent = index * 100 / count;
  }
  program.frmMain.prgStatus.SetPosition(percent < 0 ? 0 : percent > 100 ? 100 : percent);
  program.frmMain.lblStatus.SetCaption(std::to_string(percent) + "%(" + std::to_string(index) +
                                       "/" + std::to_string(count) + ")");
}

}  // namespace

void RecordCopiedFile(Program& program, const std::string& target, const std::string& switches) {
  const Platform& platform = program.platform();
  for (std::string& slot : program.undo.DeleteFileList) {
    if (slot.empty() || SameText(platform, slot.substr(0, slot.find(',')), target)) {
      slot = target + switches;
      return;
    }
  }
}

void CopyPhase(Program& program) {
  const Platform& platform = program.platform();
  const MacroFolders folders = RunMacroFolders(program);
  const int count = static_cast<int>(program.lists.FileList.size());
  for (int index = 1; index <= count; ++index) {
    const FileEntry& entry = program.lists.FileList[index - 1];
    std::string target = ResolveAllMacros(entry.TargetPath, folders);
    std::string source = entry.SourcePath;

    if (source.compare(0, kDiskChangeMark.size(), kDiskChangeMark) == 0) {
      source.erase(0, kDiskChangeMark.size());
      ++program.run.DiskNumber;
      AskForDisk(program, source);
    }
    if (!FileExists(platform, source)) continue;

    const std::string compressedSource = source;
    bool expanded = false;
    uint32_t expandError = kErrorSuccess;
    if (!source.empty() && source.back() == '_') {
      std::string result = ExpandFile(program, source, target, &expandError);
      size_t comma = result.find(',');
      source = result.substr(0, comma);
      target = result.substr(comma + 1);
      expanded = true;
    }

    program.frmMain.ShowMessage("ファイルをコピーしています．．．\rCopying -> " + target);
    CheckAbort(program);

    uint32_t result = expandError;
    if (expandError == kErrorSuccess && DecideCopy(program, source, target)) {
      result = FileCopyTo(platform, source, target);
    }

    if (FindBytes(entry.Switches, "/R") != std::string::npos && FileExists(platform, target)) {
      RegisterOcxDll(program, target);
    }

    if (expanded) {
      if (FileExists(platform, source)) FileRemove(platform, source);
      source = compressedSource;
    }

    TallyCopied(program, source);
    ShowProgress(program, index, count);
    CheckAbort(program);
    PauseStep(program);

    if (result != kErrorSuccess) {
      program.run.FailureLog += "<File> " + target + "\r\n" + ErrorText(platform, result) + "\r\n";
      ++program.run.FailureCount;
    } else {
      RecordCopiedFile(program, target, entry.Switches);
    }
  }
}

}  // namespace korvane
