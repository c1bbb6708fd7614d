// The terminal front-end. It holds no logic of the program: it shows the window's state and
// turns what the user types into clicks and edits; once the input ends it answers questions
// as an unattended run would and ends.
#include "frontend/console/terminal_front_end.h"

#include <cctype>

#include "framework/folder_browser.h"
#include "framework/message_box.h"
#include "platform/encoding.h"
#include "startup/main_window.h"

namespace korvane {

namespace {

const char* const kOptionBoxes[5] = {"chkOverWrite", "chkSCutDesktop", "chkSCutStartMenu",
                                     "chkSCutStartUp", "chkSCutSendTo"};
const char* const kOptionKeys[5] = {"o", "1", "2", "3", "4"};

UiEvent MakeClick(const std::string& control) {
  UiEvent event;
  event.kind = UiEvent::Kind::Click;
  event.control = control;
  return event;
}

// The last path separator, skipping second bytes of double-byte characters.
size_t LastSeparator(const std::string& path, size_t end) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < end && i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
    } else if (c == '\\') {
      last = i;
    }
  }
  return last;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TerminalFrontEnd::TerminalFrontEnd(std::istream& in, std::ostream& out, std::ostream& err,
                                   TerminalSettings settings)
    : in_(in), out_(out), err_(err), settings_(settings), forms_(this) {}

std::string TerminalFrontEnd::Show(const std::string& cp932) {
  std::string text = Cp932ToUtf8Lossy(cp932);
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      result += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') {
      // accelerator mark
    } else {
      result += text[i];
    }
  }
  return result;
}

std::optional<std::string> TerminalFrontEnd::ReadLine(const std::string& prompt) {
  if (inputEnded_) return std::nullopt;
  EndProgressLine();
  out_ << prompt << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    if (settings_.interrupted != nullptr && settings_.interrupted->load()) {
      // Ctrl-C interrupted the read: the caller handles it, the input goes on.
      in_.clear();
      out_ << "\n";
      return std::nullopt;
    }
    inputEnded_ = true;
    out_ << "\n";
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void TerminalFrontEnd::ShowForm(Form& form) { forms_.Show(form); }

void TerminalFrontEnd::HideForm(Form& form) {
  EndProgressLine();
  forms_.Hide(form);
}

void TerminalFrontEnd::EndProgressLine() {
  if (progressShown_) {
    err_ << "\n" << std::flush;
    progressShown_ = false;
  }
}

void TerminalFrontEnd::ControlChanged(const Control& control, ControlProperty property) {
  const std::string& name = control.Name();
  if (name == "lblMessage" && property == ControlProperty::Caption) {
    EndProgressLine();
    if (!control.Caption().empty()) out_ << "\n" << Show(control.Caption()) << "\n" << std::flush;
  } else if (settings_.progressBar &&
             ((name == "prgStatus" && property == ControlProperty::Position) ||
              (name == "lblStatus" && property == ControlProperty::Caption))) {
    const Control* bar = control.Owner().FindControl("prgStatus");
    const Control* status = control.Owner().FindControl("lblStatus");
    if (bar == nullptr || !bar->Showing()) return;
    int position = bar->Position();
    int filled = std::max(0, std::min(40, position * 40 / std::max(1, bar->maximum)));
    err_ << "\r[" << std::string(filled, '#') << std::string(40 - filled, ' ') << "] "
         << (status ? Show(status->Caption()) : "") << "   " << std::flush;
    progressShown_ = true;
  } else if (name == "fraStatus" && property == ControlProperty::Visible && !control.Visible()) {
    EndProgressLine();
  }
}

void TerminalFrontEnd::ShowDetailsIfNew() {
  Control* frame = forms_.Find("fraReadme");
  Control* text = forms_.Find("txtReadme");
  if (frame == nullptr || !frame->Showing()) {
    shownDetails_.clear();
    return;
  }
  std::string now = frame->Caption() + '\0' + (text ? text->Text() : "");
  if (now == shownDetails_) return;
  shownDetails_ = now;
  out_ << "\n==== " << Show(frame->Caption()) << " ====\n"
       << (text ? Show(text->Text()) : "") << "\n====\n";
}

void TerminalFrontEnd::ShowMenu() {
  ShowDetailsIfNew();
  out_ << "\n";
  if (forms_.Find("txtFolder") != nullptr && !forms_.Find("fraReadme")->Showing()) {
    out_ << "  " << Show(forms_.CaptionOf("grpSetupFolder")) << ": "
         << Show(forms_.CaptionOf("txtFolder")) << "\n";
    if (forms_.Usable("txtFolder")) out_ << "    [f] edit the folder\n";
    if (forms_.Usable("btnRefer")) out_ << "    [b] " << Show(forms_.CaptionOf("btnRefer")) << "\n";
    for (int i = 0; i < 5; ++i) {
      Control* box = forms_.Find(kOptionBoxes[i]);
      if (box == nullptr || !box->Showing()) continue;
      out_ << "    " << (box->Usable() ? "[" + std::string(kOptionKeys[i]) + "]" : "   ") << " ["
           << (box->Checked() ? "x" : " ") << "] " << Show(box->Caption()) << "\n";
    }
  }
  if (forms_.Usable("btnEvent")) {
    out_ << "  [Enter] " << Show(forms_.CaptionOf("btnEvent")) << "\n";
  }
  if (forms_.Usable("btnEnd")) out_ << "  [q] " << Show(forms_.CaptionOf("btnEnd")) << "\n";
}

UiEvent TerminalFrontEnd::WaitEvent() {
  for (;;) {
    if (settings_.interrupted != nullptr && settings_.interrupted->exchange(false)) {
      if (forms_.Usable("btnEvent") && forms_.CaptionOf("btnEvent") == kCaptionAbort) {
        return MakeClick("btnEvent");
      }
      if (forms_.Usable("btnEnd")) return MakeClick("btnEnd");
      return UiEvent{};
    }
    bool anything = forms_.Usable("btnEvent") || forms_.Usable("btnEnd") ||
                    forms_.Usable("txtFolder") || forms_.Usable("btnRefer");
    if (!anything) return UiEvent{};  // nothing a user could do: the window cannot go on
    ShowMenu();
    auto line = ReadLine("> ");
    if (!line && !inputEnded_) continue;
    if (!line) return UiEvent{};
    std::string choice = Lower(*line);
    if (choice.empty() || choice == "e") {
      if (forms_.Usable("btnEvent")) return MakeClick("btnEvent");
    } else if (choice == "q") {
      if (forms_.Usable("btnEnd")) return MakeClick("btnEnd");
    } else if (choice == "f" && forms_.Usable("txtFolder")) {
      auto folder = ReadLine("folder: ");
      if (!folder) return UiEvent{};
      auto sjis = Utf8ToCp932(*folder);
      if (!sjis) {
        out_ << "this folder name cannot be written in code page 932\n";
        continue;
      }
      UiEvent event;
      event.kind = UiEvent::Kind::SetText;
      event.control = "txtFolder";
      event.text = *sjis;
      return event;
    } else if (choice == "b" && forms_.Usable("btnRefer")) {
      return MakeClick("btnRefer");
    } else {
      for (int i = 0; i < 5; ++i) {
        if (choice == kOptionKeys[i] && forms_.Usable(kOptionBoxes[i])) {
          return MakeClick(kOptionBoxes[i]);
        }
      }
    }
    out_ << "?\n";
  }
}

std::optional<UiEvent> TerminalFrontEnd::PollEvent() {
  if (settings_.interrupted != nullptr && settings_.interrupted->load() &&
      forms_.Usable("btnEvent") && forms_.CaptionOf("btnEvent") == kCaptionAbort) {
    settings_.interrupted->store(false);
    EndProgressLine();
    return MakeClick("btnEvent");
  }
  // Failure details wait for the user inside the run.
  if (forms_.Usable("btnEvent") && forms_.CaptionOf("btnEvent") == kCaptionContinue) {
    ShowDetailsIfNew();
    ReadLine("[Enter] " + Show(kCaptionContinue) + " ");
    return MakeClick("btnEvent");
  }
  return std::nullopt;
}

int TerminalFrontEnd::MessageBox(const Form*, const std::string& text, const std::string& caption,
                                 int style) {
  out_ << "\n[" << Show(caption) << "]\n" << Show(text) << "\n";
  std::string buttons;
  switch (style & kMbButtonMask) {
    case kMbYesNo:
      buttons = "[Y]es/[N]o";
      break;
    case kMbOkCancel:
      buttons = "[O]K/[C]ancel";
      break;
    default:
      buttons = "[O]K";
      break;
  }
  for (;;) {
    auto line = ReadLine(buttons + " ");
    if (!line) return rules_.Answer(caption, text, style);
    std::string choice = Lower(*line);
    if (choice.empty()) return FirstButtonOf(style);
    int answer = 0;
    switch (choice[0]) {
      case 'y':
        answer = kIdYes;
        break;
      case 'n':
        answer = kIdNo;
        break;
      case 'o':
        answer = kIdOk;
        break;
      case 'c':
        answer = kIdCancel;
        break;
    }
    if (IsButtonOf(style, answer)) return answer;
  }
}

std::optional<std::string> TerminalFrontEnd::BrowseForFolder(const Form*,
                                                             const FolderBrowser& browser) {
  out_ << "\n" << Show(browser.Title()) << "\n";
  std::optional<std::string> current;
  for (;;) {
    std::vector<std::string> entries = current ? browser.Children(*current) : browser.Drives();
    out_ << (current ? Show(*current) : std::string("(drives)")) << "\n";
    for (size_t i = 0; i < entries.size(); ++i) {
      out_ << "  [" << i + 1 << "] " << Show(entries[i]) << "\n";
    }
    out_ << "  [number] open  [..] up  [.] choose this folder  [Enter] cancel\n";
    auto line = ReadLine("> ");
    if (!line || line->empty()) return std::nullopt;
    if (*line == ".") {
      if (current) return current;
    } else if (*line == "..") {
      if (current) {
        size_t slash = LastSeparator(*current, current->size() - 1);
        // A drive root goes back to the list of drives.
        if (current->size() <= 3 || slash == std::string::npos) {
          current.reset();
        } else {
          current = current->substr(0, slash == 2 ? 3 : slash);
        }
      }
    } else {
      size_t n = 0;
      try {
        n = std::stoul(*line);
      } catch (...) {
        n = 0;
      }
      if (n >= 1 && n <= entries.size()) {
        current = current ? FolderBrowser::Join(*current, entries[n - 1]) : entries[n - 1];
      }
    }
  }
}

int TerminalFrontEnd::RestartQuestion(const Form*) {
  out_ << "\nWindows must be restarted. Restart now?\n";
  for (;;) {
    auto line = ReadLine("[Y]es/[N]o ");
    if (!line) return rules_.Restart();
    std::string choice = Lower(*line);
    if (!choice.empty() && choice[0] == 'y') return kIdYes;
    if (choice.empty() || choice[0] == 'n') return kIdNo;
  }
}

}  // namespace korvane
