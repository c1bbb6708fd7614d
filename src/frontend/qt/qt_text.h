// Texts between the core (code page 932, CR line breaks) and Qt (QString). The GUI's own
// literals are UTF-8 (its sources are compiled without the code page 932 literal setting).
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
