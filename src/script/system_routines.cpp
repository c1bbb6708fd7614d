// File operations, directory searches, case mapping and error texts over the platform
// services, with the system's conventions: archive-only attributes around copies and deletes,
// the attribute mask of a directory search, 0 or the error code as result. No state.
#include "script/system_routines.h"

#include "script/text_routines.h"

namespace korvane {

namespace {

// Attributes that a search skips unless the mask admits them.
constexpr uint32_t kMaskableAttributes = kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory;

std::string CutAtZero(std::string text) {
  if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

}  // namespace

uint32_t FileCopyTo(const Platform& platform, const std::string& source,
                    const std::string& target) {
  if (FileExists(platform, target)) platform.files->SetAttributes(target, kAttrArchive);
  const uint32_t error = platform.files->CopyFile(source, target, false);
  // The copy brings the source's attributes along; the target is left archive-only.
  if (FileExists(platform, target)) platform.files->SetAttributes(target, kAttrArchive);
  return error;
}

uint32_t FileRemove(const Platform& platform, const std::string& path) {
  platform.files->SetAttributes(path, kAttrArchive);
  return platform.files->DeleteFile(path);
}

std::optional<FindData> FindFirstEntry(const Platform& platform, const std::string& path,
                                       uint32_t mask) {
  std::vector<FindData> entries;
  if (platform.files->FindFiles(path, entries) != kErrorSuccess) return std::nullopt;
  const uint32_t excluded = ~mask & kMaskableAttributes;
  for (const FindData& entry : entries) {
    if ((entry.attributes & excluded) == 0) return entry;
  }
  return std::nullopt;
}

bool FolderExists(const Platform& platform, const std::string& path) {
  const std::string pattern = RemoveBackslash(path, kSideBack) + "\\*.*";
  return FindFirstEntry(platform, pattern, kAttrDirectory).has_value();
}

bool CreateFolderChain(const Platform& platform, const std::string& path) {
  bool result = true;
  size_t pos = 0;
  while (pos < path.size()) {
    const bool lead = IsLeadByte(static_cast<unsigned char>(path[pos])) && pos + 1 < path.size();
    // A 0x5C that ends a double-byte character is part of a folder name, not a separator.
    if (!lead && path[pos] == '\\') {
      const std::string prefix = path.substr(0, pos + 1);
      if (!FolderExists(platform, prefix)) {
        result = platform.files->CreateDirectory(prefix) == kErrorSuccess;
      }
    }
    pos += lead ? 2 : 1;
  }
  return result;
}

bool FileExists(const Platform& platform, const std::string& path) {
  std::optional<FindData> entry = FindFirstEntry(platform, path, kAttrAnyFile);
  return entry && (entry->attributes & kAttrDirectory) == 0;
}

int32_t FileDate(const Platform& platform, const std::string& path) {
  std::optional<FindData> entry = FindFirstEntry(platform, path, kAttrAnyFile);
  if (!entry || (entry->attributes & kAttrDirectory) != 0) return -1;
  return entry->lastWriteDos;
}

std::string MapString(const Platform& platform, const std::string& text, uint32_t flags) {
  if (text.empty()) return text;
  std::optional<std::string> mapped = platform.system->MapString(flags, text);
  if (!mapped || mapped->empty()) return text;
  return CutAtZero(std::move(*mapped));
}

std::string UpperCase(const Platform& platform, const std::string& text) {
  return MapString(platform, text, kLcmapUppercase);
}

bool SameText(const Platform& platform, const std::string& a, const std::string& b) {
  return UpperCase(platform, a) == UpperCase(platform, b);
}

std::string ErrorText(const Platform& platform, uint32_t code) {
  if (code == kErrorSuccess) return {};
  return MapString(platform, CutAtZero(platform.system->FormatMessage(code)), kLcmapFullwidth);
}

}  // namespace korvane
