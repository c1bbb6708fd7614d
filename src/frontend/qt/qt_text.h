// Texts between the core (code page 932, CR line breaks) and Qt (QString). The only place of
// the GUI where texts are converted.
#pragma once

#include <QString>
#include <string>

namespace korvane::qt {

/// A core text for display: CR and CR LF become line feeds; bad bytes become U+FFFD.
QString ToQString(const std::string& cp932);
/// A caption with its "&" mnemonic kept as Qt reads it.
QString ToCaption(const std::string& cp932);
/// A user's text back to code page 932 (characters without a code page 932 form dropped).
std::string FromQString(const QString& text);

}  // namespace korvane::qt
