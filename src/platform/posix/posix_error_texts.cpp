// One table of error texts as Japanese Windows prints them. Literals here are code page 932
// (the build's execution character set).
#include "platform/posix/posix_error_texts.h"

#include "platform/win_types.h"

namespace korvane::posix {
namespace {

struct ErrorText {
  uint32_t code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kErrorFileNotFound, "指定されたファイルが見つかりません。"},
    {kErrorPathNotFound, "指定されたパスが見つかりません。"},
    {kErrorAccessDenied, "アクセスが拒否されました。"},
    {kErrorWriteProtect, "このメディアは書き込み禁止になっています。"},
    {kErrorNotReady, "デバイスの準備ができていません。"},
    {kErrorSharingViolation, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
    {kErrorHandleDiskFull, "ディスクがいっぱいです。"},
    {kErrorFileExists, "ファイルがあります。"},
    {kErrorInvalidParameter, "パラメーターが間違っています。"},
    {kErrorDiskFull, "ディスクに十分な空き領域がありません。"},
    {kErrorInvalidName,
     "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。"},
    {kErrorDirNotEmpty, "ディレクトリが空ではありません。"},
    {kErrorAlreadyExists, "既に存在するファイルを作成することはできません。"},
    {kErrorFilenameExcedRange, "ファイル名または拡張子が長すぎます。"},
    {kErrorFileCorrupt, "ファイルまたはディレクトリが壊れているため、読み取ることができません。"},
};

}  // namespace

std::string ErrorMessageText(uint32_t code) {
  for (const auto& entry : kErrorTexts) {
    if (entry.code == code) return std::string(entry.text) + "\r\n";
  }
  return "";
}

}  // namespace korvane::posix
