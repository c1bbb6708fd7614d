// Windows constants and records that the services exchange with the core.
// Plain data only: no behaviour lives here, and nothing here includes an OS header.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// Windows error codes (GetLastError) that the services report.
inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorInvalidFunction = 1;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorTooManyOpenFiles = 4;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorInvalidData = 13;
inline constexpr uint32_t kErrorCurrentDirectory = 16;
inline constexpr uint32_t kErrorNotSameDevice = 17;
inline constexpr uint32_t kErrorNoMoreFiles = 18;
inline constexpr uint32_t kErrorWriteProtect = 19;
inline constexpr uint32_t kErrorNotReady = 21;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorHandleDiskFull = 39;
inline constexpr uint32_t kErrorNotSupported = 50;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorDiskFull = 112;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorModNotFound = 126;
inline constexpr uint32_t kErrorProcNotFound = 127;
inline constexpr uint32_t kErrorDirNotEmpty = 145;
inline constexpr uint32_t kErrorBadPathname = 161;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameExcedRange = 206;
inline constexpr uint32_t kErrorDirectory = 267;
inline constexpr uint32_t kErrorBadExeFormat = 193;
inline constexpr uint32_t kErrorFileCorrupt = 1392;
inline constexpr uint32_t kErrorBadKey = 1010;
inline constexpr uint32_t kErrorCantOpenKey = 1011;
inline constexpr uint32_t kErrorCantWriteKey = 1013;
inline constexpr uint32_t kErrorKeyDeleted = 1018;

// File attributes.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrVolumeId = 0x08;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrAnyFile = 0x3F;

// LCMapStringA flags.
inline constexpr uint32_t kLcmapUppercase = 0x00000200;
inline constexpr uint32_t kLcmapFullwidth = 0x00800000;

// One entry of a directory search (FindFirstFileA / FindNextFileA).
struct FindData {
  std::string name;         // file name only, code page 932
  uint32_t attributes = 0;  // kAttr* bits
  uint64_t size = 0;        // 64-bit size; the core takes the low 32 bits where the system did
  int32_t lastWriteDos = -1;  // last-write time in local time, DOS date (high word) and time (low word)
};

// GetVersionExA's answer.
struct OsVersionInfo {
  uint32_t platformId = 0;  // 1 = Windows 95/98, 2 = NT
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t buildNumber = 0;  // on 9x the high word repeats major.minor
};

// Shell special folders (SHGetSpecialFolderLocation).
inline constexpr int kCsidlDesktop = 0;
inline constexpr int kCsidlPrograms = 2;
inline constexpr int kCsidlStartup = 7;
inline constexpr int kCsidlSendTo = 9;

// SHChangeNotify events.
inline constexpr uint32_t kShcneAssocChanged = 0x08000000;
inline constexpr uint32_t kShcneUpdateItem = 0x00002000;
inline constexpr uint32_t kShcneUpdateDir = 0x00001000;

// Registry value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users };

}  // namespace korvane
