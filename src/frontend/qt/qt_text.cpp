// Conversion of texts at the GUI's edge; the core never sees UTF-8.
#include "frontend/qt/qt_text.h"

#include "platform/encoding.h"

namespace korvane::qt {

QString ToQString(const std::string& cp932) {
  QString text = QString::fromStdString(Cp932ToUtf8Lossy(cp932));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

QString ToCaption(const std::string& cp932) { return ToQString(cp932); }

std::string FromQString(const QString& text) {
  std::string utf8 = text.toStdString();
  if (auto converted = Utf8ToCp932(utf8)) return *converted;
  // Keep what can be kept: convert character by character.
  std::string result;
  for (const QChar& ch : text) {
    if (auto one = Utf8ToCp932(QString(ch).toStdString())) result += *one;
  }
  return result;
}

}  // namespace korvane::qt
