// TfrmMain: the fixed main window with its controls, the event-button dispatch on its caption,
// the end button, the abort confirmation, the close check and close actions, and the window
// operations that the runs use.
#pragma once

#include <string>

#include "framework/form.h"
#include "startup/folder_dialog.h"

namespace korvane {

class Program;

// Captions of the event and end buttons.
inline constexpr const char* kCaptionUnsetupStart = "アンセットアップ開始(&S)";
inline constexpr const char* kCaptionSetupStart = "セットアップ開始(&S)";
inline constexpr const char* kCaptionAbort = "中断(&A)";
inline constexpr const char* kCaptionContinue = "続行(&C)";
inline constexpr const char* kCaptionSetupContinue = "セットアップ続行(&C)";
inline constexpr const char* kCaptionSetupEnd = "セットアップ終了(&E)";
inline constexpr const char* kCaptionUnsetupEnd = "アンセットアップ終了(&E)";
inline constexpr const char* kCaptionEnd = "終了(&E)";

class TfrmMain : public Form {
 public:
  explicit TfrmMain(Program& program);

  Control& grpMessage;
  Control& lblMessage;
  Control& fraStatus;
  Control& prgStatus;
  Control& lblStatus;
  Control& grpSetupFolder;
  Control& txtFolder;
  Control& btnRefer;
  Control& grpOption;
  Control& chkOverWrite;
  Control& fraShortCut;
  Control& chkSCutDesktop;
  Control& chkSCutStartMenu;
  Control& chkSCutStartUp;
  Control& chkSCutSendTo;
  Control& fraReadme;
  Control& txtReadme;
  Control& btnEvent;
  Control& btnEnd;
  TFolderDialog dlgFolder;

  // Handlers.
  void FormActivate() override;
  bool FormCloseQuery() override;
  void FormClose() override;
  void Click(Control& control) override;
  void HandlerFailed(const KorvaneError& error) override;
  void btnEventClick();
  void btnEndClick();
  void btnReferClick();
  /// Asks whether to abort; Yes sets AbortRequested and ends the window.
  void AbortConfirmation();

  // Window operations of the runs.
  void ShowMessage(const std::string& text);
  void ProcessMessages();
  /// Asks with a message box owned by the application; returns the answer.
  int Ask(const std::string& text, const std::string& caption, int style);
  /// Enables the background window (work finished) and sets ModalResult to 1.
  void Finish();
  /// Shows the failure details and waits, 200 ms at a time, until "続行(&C)" is clicked;
  /// then puts startCaption back on the disabled event button and hides the details.
  void ShowDetailsAndWait(const std::string& details, const std::string& frameCaption,
                          const std::string& startCaption);

  Program& program() { return program_; }

 private:
  Program& program_;
  bool activated_ = false;
};

}  // namespace korvane
