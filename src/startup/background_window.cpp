// TfrmBack: the teal background window, its version caption and layout, and the first-resize
// flow that runs the main window modally and then ends the program. Later resizes move
// nothing.
#include "startup/background_window.h"

#include <algorithm>

#include "startup/program.h"

namespace korvane {
namespace {

constexpr uint32_t kTeal = 0x008080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0000FF;

// Deletes the first count bytes of text (all of it when count is larger).
void DeleteFirst(std::string& text, size_t count) { text.erase(0, std::min(count, text.size())); }

}  // namespace

const char* const kCreditText = "Korvane Setup Edition\rKorvane Project Software Works";

std::string VersionCaption(const std::string& fileVersion) {
  std::string v = fileVersion;
  // p is the 1-based position of the first point, 0 when there is none.
  auto firstPoint = [&v]() -> size_t {
    const size_t at = v.find('.');
    return at == std::string::npos ? 0 : at + 1;
  };
  size_t p = firstPoint();
  std::string caption = "Korvane Version" + v.substr(0, p == 0 ? 0 : p - 1) + ".";
  DeleteFirst(v, p);
  for (int i = 0; i < 2; ++i) {
    p = firstPoint();
    if (p == 0) continue;
    caption += v.substr(0, p - 1);
    DeleteFirst(v, p);
  }
  return caption + "(Build:" + v + ")";
}

TfrmBack::TfrmBack(Program& program)
    : Form("frmBack", "Korvane"),
      lblBackTitle2(AddControl("lblBackTitle2", ControlKind::Label, nullptr, {79, 16, 58, 32})),
      lblBackTitle1(AddControl("lblBackTitle1", ControlKind::Label, nullptr, {16, 16, 57, 32})),
      lblPrgTitle2(
          AddControl("lblPrgTitle2", ControlKind::Label, nullptr, {8, 56, 0, 0}, "BackTitle")),
      lblPrgTitle1(
          AddControl("lblPrgTitle1", ControlKind::Label, nullptr, {8, 48, 0, 0}, "BackTitle")),
      program_(program) {
  maximized = true;
  fixedBorder = true;
  systemMenu = false;  // no border icons at all
  color = kTeal;
  SetEnabled(false);  // the work-finished flag starts false

  for (Control* title : {&lblBackTitle2, &lblBackTitle1}) {
    title->font.pixels = 32;
    title->font.italic = true;
    title->transparent = true;
  }
  lblBackTitle2.font.color = kBlue;
  lblBackTitle1.font.color = kWhite;
  for (Control* credit : {&lblPrgTitle2, &lblPrgTitle1}) {
    credit->font.name = "Times New Roman";
    credit->font.pixels = 16;
    credit->font.italic = true;
    credit->transparent = true;
    credit->autoSize = true;
    credit->SetVisible(false);
  }
  lblPrgTitle2.font.color = kBlue;
  lblPrgTitle1.font.color = kWhite;
}

void TfrmBack::FormCreate() {
  // The class icon of the application's hidden window is a Win32 matter: a front-end that has
  // such a window sets its own icon when it renders the form.
}

void TfrmBack::Layout(int windowWidth, int windowHeight) {
  lblBackTitle1.SetPlace({lblBackTitle1.GetPlace().left, lblBackTitle1.GetPlace().top,
                          windowWidth - 24, lblBackTitle1.GetPlace().height});
  lblBackTitle2.SetPlace({lblBackTitle1.GetPlace().left + 2, lblBackTitle1.GetPlace().top + 2,
                          windowWidth - 24, lblBackTitle2.GetPlace().height});

  FrontEnd& frontEnd = program_.application().frontEnd();
  for (Control* credit : {&lblPrgTitle1, &lblPrgTitle2}) {
    credit->SetCaption(kCreditText);
    const Place size = frontEnd.TextSize(credit->font, credit->Caption());
    credit->SetPlace({credit->GetPlace().left, credit->GetPlace().top, size.width, size.height});
  }
  lblPrgTitle1.autoSize = false;
  Place credit = lblPrgTitle1.GetPlace();
  credit.width += 8;
  credit.left = windowWidth - credit.width - 24;
  credit.top = windowHeight - credit.height - 48;
  lblPrgTitle1.SetPlace(credit);
  const Place shadow = lblPrgTitle2.GetPlace();
  lblPrgTitle2.SetPlace({credit.left + 2, credit.top + 2, shadow.width, shadow.height});
  lblPrgTitle1.SetVisible(true);
  lblPrgTitle2.SetVisible(true);
  // Repainting at once is the front-end's: it follows every change as it happens.
}

void TfrmBack::FormResize() {
  if (lblPrgTitle1.Visible()) return;

  const VersionInfo version = program_.platform().system->GetProgramVersion();
  if (version.hasData) SetCaption(VersionCaption(version.fileVersion.value_or("")));

  Layout(GetPlace().width, GetPlace().height);

  Application& application = program_.application();
  application.ShowModal(program_.frmMain);

  SetVisible(false);
  application.frontEnd().HideForm(*this);
  application.Terminate();
}

}  // namespace korvane
