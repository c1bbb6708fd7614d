// Message box styles and answers, as the system numbers them.
#pragma once

namespace korvane {

inline constexpr int kMbOk = 0x00;
inline constexpr int kMbOkCancel = 0x01;
inline constexpr int kMbYesNo = 0x04;
inline constexpr int kMbIconError = 0x10;
inline constexpr int kMbIconQuestion = 0x20;
inline constexpr int kMbIconExclamation = 0x30;
inline constexpr int kMbIconInformation = 0x40;
inline constexpr int kMbButtonMask = 0x0F;
inline constexpr int kMbIconMask = 0xF0;

// The styles the program uses.
inline constexpr int kStyleError = 16;           // OK, error icon
inline constexpr int kStyleQuestion = 36;        // Yes and No, question icon
inline constexpr int kStyleWarning = 48;         // OK, exclamation icon
inline constexpr int kStyleWarningYesNo = 52;    // Yes and No, exclamation icon
inline constexpr int kStyleInformation = 64;     // OK, information icon
inline constexpr int kStyleInformationOkCancel = 65;  // OK and Cancel, information icon

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

/// The buttons of a style, in the order the box shows them (first is the default).
inline int FirstButtonOf(int style) {
  switch (style & kMbButtonMask) {
    case kMbOkCancel: return kIdOk;
    case kMbYesNo: return kIdYes;
    default: return kIdOk;
  }
}

/// Whether answer is one of the buttons of style.
inline bool IsButtonOf(int style, int answer) {
  switch (style & kMbButtonMask) {
    case kMbOkCancel: return answer == kIdOk || answer == kIdCancel;
    case kMbYesNo: return answer == kIdYes || answer == kIdNo;
    default: return answer == kIdOk;
  }
}

}  // namespace korvane
