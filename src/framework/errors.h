// The few errors that the system raises and nobody catches in a run: the registry object's
// errors and the free-space routine's internal faults. Caught once, by the Application.
#pragma once

#include <stdexcept>
#include <string>

namespace korvane {

class KorvaneError : public std::runtime_error {
 public:
  /// text: the message as shown to the user, code page 932.
  explicit KorvaneError(const std::string& text) : std::runtime_error(text) {}
};

// "ｷｰ %s の作成に失敗しました", "'%s' の設定に失敗しました", "'%s' のﾃﾞｰﾀ型が不正です".
class RegistryError : public KorvaneError {
 public:
  using KorvaneError::KorvaneError;
};

// An assertion failure with the unit and line appended, as the system's assertion shows it.
class AssertionFault : public KorvaneError {
 public:
  using KorvaneError::KorvaneError;
};

}  // namespace korvane
