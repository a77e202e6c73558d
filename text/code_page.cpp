// The one place that talks to iconv: Windows code pages, GBK above all, to and from UTF-16.

#include <iconv.h>

#include <cerrno>
#include <map>
#include <string>
#include <utility>

#include "text/text.h"

namespace mipofc {
namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);  // what iconv_open fails with

// Opening a converter costs far more than converting a short string, and the RTF reader
// converts many short runs, so converters are kept per thread.
class TConverterCache {
 public:
  ~TConverterCache() {
    for (auto& entry : converters_)
      if (entry.second != NoConverter) iconv_close(entry.second);
  }
  iconv_t Get(const std::string& from, const std::string& to) {
    auto [it, added] = converters_.try_emplace({from, to}, NoConverter);
    if (added) it->second = iconv_open(to.c_str(), from.c_str());
    if (it->second != NoConverter) iconv(it->second, nullptr, nullptr, nullptr, nullptr);
    return it->second;
  }

 private:
  std::map<std::pair<std::string, std::string>, iconv_t> converters_;
};

iconv_t Converter(const std::string& from, const std::string& to) {
  thread_local TConverterCache cache;
  return cache.Get(from, to);
}

// Converts in through cd into out. At a byte sequence the target cannot take, a strict run
// fails; a lossy one appends replacement and steps over one byte.
bool Run(iconv_t cd, std::string_view in, std::string& out, const std::string* replacement) {
  char* src = const_cast<char*>(in.data());  // iconv does not write through it
  size_t srcLeft = in.size();
  std::string buffer(in.size() * 4 + 16, '\0');
  while (true) {
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    const size_t done = srcLeft == 0 ? iconv(cd, nullptr, nullptr, &dst, &dstLeft)
                                     : iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int error = done == static_cast<size_t>(-1) ? errno : 0;
    out.append(buffer.data(), buffer.size() - dstLeft);
    if (error == 0) {
      if (srcLeft == 0) return true;
      continue;
    }
    if (error == E2BIG) continue;
    // EILSEQ: a sequence the source or the target cannot hold; EINVAL: cut off at the end.
    if (replacement == nullptr || srcLeft == 0) return false;
    out += *replacement;
    ++src;
    --srcLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
}

std::string ToUtf16LeBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::u16string FromUtf16LeBytes(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  return text;
}

// The iconv name of a Windows code page that documents name, or "" for one we do not read.
std::string CodePageName(int codePage) {
  switch (codePage) {
    case 437: case 850: case 852: case 855: case 857: case 860: case 861: case 862: case 863:
    case 864: case 865: case 866: case 869: case 874: case 932: case 936: case 949: case 950:
    case 1250: case 1251: case 1252: case 1253: case 1254: case 1255: case 1256: case 1257:
    case 1258:
      return "CP" + std::to_string(codePage);
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 20127: return "ASCII";
    case 20936: return "GB2312";
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    default:
      if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
      if (codePage == 28605) return "ISO-8859-15";
      return "";
  }
}

}  // namespace

std::optional<std::u16string> GbkToUtf16(std::string_view bytes) {
  const iconv_t cd = Converter("CP936", "UTF-16LE");
  std::string out;
  if (cd == NoConverter || !Run(cd, bytes, out, nullptr)) return std::nullopt;
  return FromUtf16LeBytes(out);
}

std::optional<std::string> Utf16ToGbk(std::u16string_view text) {
  const iconv_t cd = Converter("UTF-16LE", "CP936");
  std::string out;
  if (cd == NoConverter || !Run(cd, ToUtf16LeBytes(text), out, nullptr)) return std::nullopt;
  return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view text) {
  if (!IsValidUtf8(text)) return std::nullopt;
  return Utf16ToGbk(Utf8ToUtf16(text));
}

std::u16string DecodeCodePage(int codePage, std::string_view bytes) {
  std::string name = CodePageName(codePage);
  if (name.empty()) name = "CP1252";
  const iconv_t cd = Converter(name, "UTF-16LE");
  if (cd == NoConverter) {
    // Without the converter, bytes read as Latin-1, which matches 1252 for most text.
    std::u16string text;
    for (char b : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(b));
    return text;
  }
  static const std::string replacement = "\xFD\xFF";  // U+FFFD, little-endian
  std::string out;
  Run(cd, bytes, out, &replacement);
  return FromUtf16LeBytes(out);
}

}  // namespace mipofc
