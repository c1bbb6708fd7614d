// The Windows LZ library on Linux: SZDD files (COMPRESS.EXE) expanded by libmspack, reading and
// writing only through the machine's drives; anything else is copied byte for byte. The target
// appears only complete: the expansion goes to a temporary file beside it, renamed at the end.
#include <mspack.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/posix_services.h"
#include "platform/registry_fold.h"

namespace korvane::posix {
namespace {

constexpr size_t kHeaderSize = 14;
constexpr unsigned char kSzddMagic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
constexpr unsigned char kSzddMode = 'A';

// The names that our mspack_system's open() understands: the two descriptors in hand.
constexpr const char* kInputName = "in";
constexpr const char* kOutputName = "out";

struct FdSystem;

struct FdFile {
  FdSystem* system;
  int fd;
  bool output;
  // The decoder writes one byte a call; collect them so the kernel sees large writes.
  std::vector<char> pending;
};

constexpr size_t kOutputBufferSize = 256 * 1024;

// An mspack_system over two open descriptors: libmspack never opens a host path itself.
struct FdSystem {
  mspack_system base;
  int inputFd = -1;
  int outputFd = -1;
  uint64_t written = 0;
  uint64_t limit = 0;  // the expanded length that the header gives
  int writeErrno = 0;
};

mspack_file* FdOpen(mspack_system* self, const char* filename, int mode) {
  auto* system = reinterpret_cast<FdSystem*>(self);
  bool output = std::strcmp(filename, kOutputName) == 0;
  if (!output && std::strcmp(filename, kInputName) != 0) return nullptr;
  if (output != (mode == MSPACK_SYS_OPEN_WRITE)) return nullptr;
  auto* file = new FdFile{system, output ? system->outputFd : system->inputFd, output, {}};
  if (output) file->pending.reserve(kOutputBufferSize);
  return reinterpret_cast<mspack_file*>(file);
}

// Writes out what the output file has collected: false (writeErrno set) when it cannot.
bool Flush(FdFile* file) {
  size_t done = 0;
  while (done < file->pending.size()) {
    ssize_t n = ::write(file->fd, file->pending.data() + done, file->pending.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      file->system->writeErrno = n < 0 ? errno : ENOSPC;
      file->pending.clear();
      return false;
    }
    done += static_cast<size_t>(n);
  }
  file->pending.clear();
  return true;
}

void FdClose(mspack_file* handle) {
  auto* file = reinterpret_cast<FdFile*>(handle);
  if (file->output) Flush(file);
  delete file;
}

int FdRead(mspack_file* handle, void* buffer, int bytes) {
  auto* file = reinterpret_cast<FdFile*>(handle);
  auto* p = static_cast<char*>(buffer);
  int total = 0;
  // libmspack takes a short read as the end of the file, so fill the buffer.
  while (total < bytes) {
    ssize_t n = ::read(file->fd, p + total, static_cast<size_t>(bytes - total));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    total += static_cast<int>(n);
  }
  return total;
}

int FdWrite(mspack_file* handle, void* buffer, int bytes) {
  auto* file = reinterpret_cast<FdFile*>(handle);
  const auto* p = static_cast<const char*>(buffer);
  // Bytes decoded beyond the header's length are dropped (mscompress writes a stray literal
  // into an empty file), but counted as written for the decoder.
  uint64_t room = file->system->limit - std::min(file->system->limit, file->system->written);
  size_t wanted = static_cast<size_t>(std::min<uint64_t>(room, static_cast<uint64_t>(bytes)));
  if (file->system->writeErrno != 0) return -1;
  file->pending.insert(file->pending.end(), p, p + wanted);
  if (file->pending.size() >= kOutputBufferSize && !Flush(file)) return -1;
  const uint64_t total = wanted;
  file->system->written += static_cast<uint64_t>(total);
  return bytes;
}

int FdSeek(mspack_file* handle, off_t offset, int mode) {
  auto* file = reinterpret_cast<FdFile*>(handle);
  if (file->output && !Flush(file)) return -1;
  int whence = mode == MSPACK_SYS_SEEK_START ? SEEK_SET
               : mode == MSPACK_SYS_SEEK_CUR ? SEEK_CUR
                                             : SEEK_END;
  return ::lseek(file->fd, offset, whence) < 0 ? -1 : 0;
}

off_t FdTell(mspack_file* handle) {
  auto* file = reinterpret_cast<FdFile*>(handle);
  if (file->output && !Flush(file)) return -1;
  return ::lseek(file->fd, 0, SEEK_CUR);
}

void FdMessage(mspack_file*, const char*, ...) {}
void* FdAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void FdFree(void* p) { std::free(p); }
void FdCopy(void* src, void* dest, size_t bytes) { std::memcpy(dest, src, bytes); }

struct Header {
  bool szdd = false;
  unsigned char missingChar = 0;
  uint32_t length = 0;
};

Header ReadHeader(int fd) {
  std::array<unsigned char, kHeaderSize> bytes{};
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  Header header;
  if (got == kHeaderSize && std::memcmp(bytes.data(), kSzddMagic, sizeof kSzddMagic) == 0 &&
      bytes[8] == kSzddMode) {
    header.szdd = true;
    header.missingChar = bytes[9];
    header.length = static_cast<uint32_t>(bytes[10]) | static_cast<uint32_t>(bytes[11]) << 8 |
                    static_cast<uint32_t>(bytes[12]) << 16 | static_cast<uint32_t>(bytes[13]) << 24;
  }
  return header;
}

bool IsAsciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
bool IsAsciiLower(unsigned char b) { return b >= 'a' && b <= 'z'; }

// The byte position where the last path component starts.
size_t NameStart(const std::string& path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      ++i;
    } else if (b == '\\' || b == '/' || b == ':') {
      start = i + 1;
    }
  }
  return start;
}

class PosixLz final : public LzExpander {
 public:
  explicit PosixLz(PosixDrives& drives) : drives_(drives) {}

  std::string GetExpandedName(const std::string& source) override {
    int fd = -1;
    if (drives_.OpenRead(source, fd) != kErrorSuccess) return source;
    Header header = ReadHeader(fd);
    ::close(fd);
    if (!header.szdd || source.empty() || source.back() != '_') return source;

    size_t nameStart = NameStart(source);
    // The extension is what follows the last dot of the name (a dot is never a trail byte),
    // and the last single-byte letter before the '_' gives the letter case.
    bool hasDot = false;
    int lastLetter = 0;
    for (size_t i = nameStart; i + 1 < source.size(); ++i) {
      auto b = static_cast<unsigned char>(source[i]);
      if (IsCp932LeadByte(b) && i + 1 < source.size()) {
        ++i;
      } else if (b == '.') {
        hasDot = true;
      } else if (IsAsciiLetter(b)) {
        lastLetter = b;
      }
    }
    if (!hasDot) return source;

    std::string name = source.substr(0, source.size() - 1);
    unsigned char stored = header.missingChar;
    if (stored == 0) return name;
    if (IsAsciiLetter(stored) && lastLetter != 0) {
      bool lower = IsAsciiLower(static_cast<unsigned char>(lastLetter));
      stored = static_cast<unsigned char>(lower ? (stored | 0x20) : (stored & ~0x20));
    }
    return name + static_cast<char>(stored);
  }

  uint32_t Expand(const std::string& source, const std::string& target) override {
    int in = -1;
    uint32_t error = drives_.OpenRead(source, in);
    if (error != kErrorSuccess) return error;

    std::string hostTarget;
    error = drives_.HostPath(target, hostTarget);
    if (error != kErrorSuccess) {
      ::close(in);
      return error;
    }
    std::string temporary = target + ".~kv" + std::to_string(::getpid());
    std::string hostTemporary;
    int out = -1;
    error = drives_.HostPath(temporary, hostTemporary);
    if (error == kErrorSuccess) error = drives_.OpenWrite(temporary, out);
    if (error != kErrorSuccess) {
      ::close(in);
      return error;
    }

    Header header = ReadHeader(in);
    error = header.szdd ? Decompress(in, out, header) : Copy(in, out);
    ::close(in);
    if (::close(out) != 0 && error == kErrorSuccess) error = drives_.LastErrorFromErrno(errno);
    if (error == kErrorSuccess && ::rename(hostTemporary.c_str(), hostTarget.c_str()) != 0) {
      error = drives_.LastErrorFromErrno(errno);
    }
    if (error != kErrorSuccess) ::unlink(hostTemporary.c_str());
    return error;
  }

 private:
  uint32_t Decompress(int in, int out, const Header& header) {
    FdSystem system;
    system.base = mspack_system{FdOpen,    FdClose, FdRead, FdWrite, FdSeek, FdTell,
                                FdMessage, FdAlloc, FdFree, FdCopy,  nullptr};
    system.inputFd = in;
    system.outputFd = out;
    system.limit = header.length;
    msszdd_decompressor* decompressor = mspack_create_szdd_decompressor(&system.base);
    if (decompressor == nullptr) return kErrorNotEnoughMemory;
    int rc = MSPACK_ERR_OK;
    msszddd_header* opened = decompressor->open(decompressor, kInputName);
    if (opened == nullptr) {
      rc = decompressor->last_error(decompressor);
    } else {
      rc = decompressor->extract(decompressor, opened, kOutputName);
      decompressor->close(decompressor, opened);
    }
    mspack_destroy_szdd_decompressor(decompressor);
    if (system.writeErrno != 0) return drives_.LastErrorFromErrno(system.writeErrno);
    if (rc == MSPACK_ERR_NOMEMORY) return kErrorNotEnoughMemory;
    // The decoder stops where the input ends: a truncated file shows as too few bytes.
    if (rc != MSPACK_ERR_OK || system.written != header.length) return kErrorInvalidData;
    return kErrorSuccess;
  }

  uint32_t Copy(int in, int out) {
    std::array<char, 65536> buffer{};
    for (;;) {
      ssize_t n = ::read(in, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return drives_.LastErrorFromErrno(errno);
      if (n == 0) return kErrorSuccess;
      ssize_t done = 0;
      while (done < n) {
        ssize_t w = ::write(out, buffer.data() + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return drives_.LastErrorFromErrno(w < 0 ? errno : ENOSPC);
        done += w;
      }
    }
  }

  PosixDrives& drives_;
};

}  // namespace

std::unique_ptr<LzExpander> CreatePosixLz(PosixDrives& drives) {
  return std::make_unique<PosixLz>(drives);
}

}  // namespace korvane::posix
