// The shell link writer: lays the .lnk structures out byte by byte, little-endian, strings in
// the ANSI code page (no IsUnicode flag) as Windows 9x writes them. It must not read files.
#include "platform/posix/lnk_writer.h"

namespace korvane::posix {
namespace {

constexpr uint32_t kHasLinkTargetIdList = 0x01;
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasRelativePath = 0x08;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kDriveFixed = 3;

constexpr unsigned char kShellLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}, the "My Computer" folder.
constexpr unsigned char kMyComputerClsid[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}
void PutBytes(std::string& out, const unsigned char* bytes, size_t n) {
  out.append(reinterpret_cast<const char*>(bytes), n);
}
bool HasDrive(const std::string& path) {
  return path.size() >= 3 &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

std::string IdList(const ShellLinkData& data) {
  std::string items;
  // My Computer: size, type 1F, sort index, class id.
  Put16(items, 0x14);
  items += static_cast<char>(0x1F);
  items += static_cast<char>(0x50);
  PutBytes(items, kMyComputerClsid, sizeof kMyComputerClsid);
  // The drive: type 2F and "X:\" in a 22-byte field.
  Put16(items, 0x19);
  items += static_cast<char>(0x2F);
  std::string drive = data.targetPath.substr(0, 3);
  drive[0] = static_cast<char>(drive[0] & ~0x20);
  drive.resize(22, '\0');
  items += drive;
  // One file entry item per component: 31 folder, 32 file.
  for (const auto& item : data.items) {
    std::string entry;
    entry += static_cast<char>(item.folder ? 0x31 : 0x32);
    entry += '\0';
    Put32(entry, item.size);
    Put16(entry, item.dosDateTime >> 16);
    Put16(entry, item.dosDateTime & 0xFFFF);
    Put16(entry, item.attributes);
    entry += item.name;
    entry += '\0';
    if ((entry.size() + 2) % 2 != 0) entry += '\0';
    Put16(items, static_cast<uint32_t>(entry.size() + 2));
    items += entry;
  }
  Put16(items, 0);  // the terminal item
  std::string list;
  Put16(list, static_cast<uint32_t>(items.size()));
  return list + items;
}

std::string LinkInfo(const ShellLinkData& data) {
  constexpr uint32_t kHeaderSize = 0x1C;
  std::string volume;
  Put32(volume, 0x11);  // VolumeIDSize: 16 bytes of fields and the empty label
  Put32(volume, kDriveFixed);
  Put32(volume, data.volumeSerial);
  Put32(volume, 0x10);  // the label follows the fields
  volume += '\0';

  uint32_t volumeOffset = kHeaderSize;
  uint32_t localPathOffset = volumeOffset + static_cast<uint32_t>(volume.size());
  uint32_t suffixOffset = localPathOffset + static_cast<uint32_t>(data.targetPath.size()) + 1;
  uint32_t total = suffixOffset + 1;

  std::string info;
  Put32(info, total);
  Put32(info, kHeaderSize);
  Put32(info, 1);  // VolumeIDAndLocalBasePath
  Put32(info, volumeOffset);
  Put32(info, localPathOffset);
  Put32(info, 0);  // no network link
  Put32(info, suffixOffset);
  info += volume;
  info += data.targetPath;
  info += '\0';
  info += '\0';  // CommonPathSuffix: empty
  return info;
}

void PutString(std::string& out, const std::string& text) {
  // The count is in characters of the ANSI code page as IShellLinkA stores it: bytes.
  Put16(out, static_cast<uint32_t>(text.size()));
  out += text;
}

}  // namespace

std::string BuildShellLink(const ShellLinkData& data) {
  bool idList = HasDrive(data.targetPath);
  uint32_t flags = kHasLinkInfo;
  if (idList) flags |= kHasLinkTargetIdList;
  if (!data.relativePath.empty()) flags |= kHasRelativePath;
  if (!data.workingFolder.empty()) flags |= kHasWorkingDir;

  std::string out;
  Put32(out, 0x4C);
  PutBytes(out, kShellLinkClsid, sizeof kShellLinkClsid);
  Put32(out, flags);
  Put32(out, data.attributes);
  Put64(out, data.creationTime);
  Put64(out, data.accessTime);
  Put64(out, data.writeTime);
  Put32(out, data.size);
  Put32(out, 0);  // icon index
  Put32(out, kShowNormal);
  Put16(out, 0);  // hot key
  out.append(10, '\0');

  if (idList) out += IdList(data);
  out += LinkInfo(data);
  if (!data.relativePath.empty()) PutString(out, data.relativePath);
  if (!data.workingFolder.empty()) PutString(out, data.workingFolder);
  Put32(out, 0);  // end of the extra data
  return out;
}

}  // namespace korvane::posix
