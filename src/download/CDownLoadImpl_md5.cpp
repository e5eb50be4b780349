#include "download/CDownLoadImpl.h"

#include <easylogging++.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "download/file_md5.h"
#include "hash/md5.h"
#include "platform/process_id.h"
#include "platform/utf8.h"

namespace {

// The marker goes through a file of its own, renamed into place, so the
// next run never reads half a marker. The name is unique per writer.
void WriteMarker(const std::string& marker, const std::string& text) {
  static std::atomic<unsigned> counter = 0;
  const std::string temporary =
      marker + ".tmp" + std::to_string(platform::GetCurrentProcessId()) + "-" + std::to_string(counter++);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) {
      std::error_code error;
      std::filesystem::rename(temporary, marker, error);
      if (!error) return;
    }
  }
  std::remove(temporary.c_str());
}

}  // namespace

bool CDownLoadImpl::checkMD5(std::wstring path, std::wstring md5, std::wstring md5Extra,
                             std::wstring version) {
  const std::string file = platform::ToUtf8(path);
  const std::string marker = file + ".db";
  const FileMd5 digest = ComputeFileMd5(file);
  if (digest.status == FileMd5Status::kReadError) {
    // A digest of the part read could match nothing sensible; a marker left
    // from an earlier check would vouch for bytes no longer known.
    LOG(INFO) << " MD5 of file " << file << " failed: " << digest.error;
    std::remove(marker.c_str());
    return false;
  }
  // An unopenable package hashes as empty input, which no package has.
  const std::string hex = digest.status == FileMd5Status::kOk ? digest.hex : hash::Md5Hex("");
  if (digest.status == FileMd5Status::kCannotOpen) LOG(INFO) << " " << digest.error;
  LOG(INFO) << " MD5 of file " << file << " is " << hex;
  WriteMarker(marker, platform::ToUtf8(version) + "###" + hex);
  const std::wstring wide = platform::FromUtf8(hex);
  return wide == md5 || wide == md5Extra;
}
