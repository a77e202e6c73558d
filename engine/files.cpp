#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "engine/chr.h"
#include "engine/errors.h"

namespace mipofc {

std::string_view TChr::BankBytes() const {
  const std::size_t limit = static_cast<std::size_t>(std::clamp(Settings.Limit, 0, 4096));
  return {reinterpret_cast<const char*>(Bank.Slots), limit};
}

std::string IncText(std::string_view bankBytes) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bankBytes.size() / 16 * 88);
  for (std::size_t i = 0; i < bankBytes.size(); ++i) {
    if (i % 16 == 0) out += "    .DB";
    const auto b = static_cast<unsigned char>(bankBytes[i]);
    out += " $";
    out += hex[b >> 4];
    out += hex[b & 15];
    out += i % 16 == 15 ? "\r\n" : ",";
  }
  return out;
}

void WriteFileAtomically(const std::string& path, std::string_view data) {
  static std::atomic<unsigned> serial{0};
  const std::string temp = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(serial++);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw TFileError(path, std::strerror(errno));
  const char* p = data.data();
  std::size_t left = data.size();
  int error = 0;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw TFileError(path, std::strerror(error));
  }
}

void TChr::BuildFor(const TChrSettings& settings, std::u16string_view text) {
  Settings = settings;
  Text = text;
  PrepareCell();
  BuildBank();
}

void TChr::SaveChrFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text) {
  BuildFor(settings, text);
  WriteFileAtomically(fileName, BankBytes());
}

void TChr::SaveIncFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text) {
  BuildFor(settings, text);
  WriteFileAtomically(fileName, IncText(BankBytes()));
}

}  // namespace mipofc
