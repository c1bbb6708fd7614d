// TfrmBack: the teal background window with the title and credit labels, its version caption,
// its layout, and the first-resize flow that runs the main window modally and ends the program.
#pragma once

#include <string>

#include "framework/form.h"

namespace korvane {

class Program;

/// "Korvane Version" caption from a FileVersion text ("1.7.0.1695" gives
/// "Korvane Version1.70(Build:1695)").
std::string VersionCaption(const std::string& fileVersion);

/// The credit text of lblPrgTitle1 and lblPrgTitle2 (two lines separated by CR).
extern const char* const kCreditText;

class TfrmBack : public Form {
 public:
  explicit TfrmBack(Program& program);

  Control& lblBackTitle2;
  Control& lblBackTitle1;
  Control& lblPrgTitle2;
  Control& lblPrgTitle1;

  void FormCreate() override;
  /// First call only: version caption, layout, the main window's modal run, close, terminate.
  void FormResize() override;
  /// The layout of step 2 for a window of the given whole size (also used by tests).
  void Layout(int windowWidth, int windowHeight);

 private:
  Program& program_;
};

}  // namespace korvane
