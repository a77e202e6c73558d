#include "base/file_write.h"
#include "params/ini.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "base/errors.h"

namespace mipofc {
namespace {

constexpr size_t MaxValueBytes = 2047;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Blanks are never GBK trail bytes (those are 0x40..0xFE), so trimming bytes is safe.
std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// 2 when a GBK double-byte character starts at s[i], else 1.
size_t CharLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= s.size()) return 1;
  const auto trail = static_cast<unsigned char>(s[i + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

// The first c outside double-byte characters: GBK trail bytes include "[", "\" and "]".
size_t FindChar(std::string_view s, char c) {
  for (size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (s[i] == c) return i;
  return std::string_view::npos;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool NameEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t length = CharLength(a, i);
    if (length == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

// What a line is to the reader.
struct TParsed {
  enum { Other, Section, Key } Kind = Other;
  std::string_view Name;
  std::string_view Value;   // raw, trimmed
  size_t ValueStart = 0;    // offset of the value (after "=" and blanks) in the line
};

TParsed Parse(std::string_view line) {
  TParsed p;
  const std::string_view text = Trim(line);
  if (text.empty() || text.front() == ';') return p;
  if (text.front() == '[') {
    std::string_view rest = text.substr(1);
    p.Kind = TParsed::Section;
    p.Name = Trim(rest.substr(0, FindChar(rest, ']')));
    return p;
  }
  const size_t eq = line.find('=');  // "=" is no trail byte
  if (eq == std::string_view::npos) return p;
  p.Kind = TParsed::Key;
  p.Name = Trim(line.substr(0, eq));
  p.ValueStart = eq + 1;
  while (p.ValueStart < line.size() && IsBlank(line[p.ValueStart])) ++p.ValueStart;
  p.Value = Trim(line.substr(eq + 1));
  return p;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool Quoted(std::string_view v) { return v.size() >= 2 && IsQuote(v.front()) && v.front() == v.back(); }

std::optional<int> ParseInteger(std::string_view s) {
  if (s.empty()) return std::nullopt;
  size_t prefix = 0;
  if (s.starts_with("0x") || s.starts_with("0X")) prefix = 2;
  else if (s.starts_with("$")) prefix = 1;
  if (prefix > 0) {
    s.remove_prefix(prefix);
    if (s.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : s) {
      int digit;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return std::nullopt;
      value = value << 4 | static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // Hexadecimal gives the 32 bits, so a system colour reads back as its signed value.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
  }
  std::int64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

void CheckLine(std::string_view s, const char* what) {
  if (s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    throw std::invalid_argument(std::string("INI ") + what + " holds a line break or NUL");
}

void CheckName(std::string_view name, const char* what) {
  CheckLine(name, what);
  if (name.empty() || Trim(name).size() != name.size())
    throw std::invalid_argument(std::string("INI ") + what + " is empty or has blanks around it");
}

}  // namespace

TIniFile::TIniFile(std::string_view bytes) {
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines_.push_back({std::string(bytes.substr(start)), ""});
      break;
    }
    const size_t endLength = bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? 2 : 1;
    lines_.push_back({std::string(bytes.substr(start, stop - start)), std::string(bytes.substr(stop, endLength))});
    if (newline_.empty()) newline_ = lines_.back().End;
    start = stop + endLength;
  }
  // Parameter files are shared with programs that write CR LF.
  if (newline_.empty()) newline_ = "\r\n";
}

TIniFile TIniFile::Load(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return TIniFile();
    throw TFileError(path, errno);
  }
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw TFileError(path, error);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return TIniFile(bytes);
}

std::optional<TIniFile::TSection> TIniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const TParsed p = Parse(lines_[i].Text);
    if (p.Kind != TParsed::Section || !NameEquals(p.Name, section)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && Parse(lines_[end].Text).Kind != TParsed::Section) ++end;
    return TSection{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> TIniFile::FindKey(const TSection& section, std::string_view key) const {
  for (size_t i = section.Header + 1; i < section.End; ++i) {
    const TParsed p = Parse(lines_[i].Text);
    if (p.Kind == TParsed::Key && NameEquals(p.Name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> TIniFile::Value(std::string_view section, std::string_view key) const {
  const auto s = FindSection(section);
  if (!s) return std::nullopt;
  const auto k = FindKey(*s, key);
  if (!k) return std::nullopt;
  std::string_view value = Parse(lines_[*k].Text).Value;
  if (Quoted(value)) value = value.substr(1, value.size() - 2);
  size_t cut = 0;
  while (cut < value.size()) {
    const size_t length = CharLength(value, cut);
    if (cut + length > MaxValueBytes) break;
    cut += length;
  }
  return std::string(value.substr(0, cut));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const auto v = Value(section, key);
  return v ? *v : std::string(fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const auto v = Value(section, key);
  const auto n = v ? ParseInteger(*v) : std::nullopt;
  return n ? *n : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  const auto v = Value(section, key);
  const auto n = v ? ParseInteger(*v) : std::nullopt;
  return n ? *n != 0 : fallback;
}

void TIniFile::Insert(size_t index, std::string text) {
  // The line before may be the file's last one, which need not end in a line break.
  if (index > 0 && lines_[index - 1].End.empty()) lines_[index - 1].End = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), TLine{std::move(text), newline_});
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  CheckName(section, "section name");
  // The closing "]" must stay a bracket: a lone GBK lead byte at the end would take it.
  if (FindChar(std::string(section) + "]", ']') != section.size())
    throw std::invalid_argument("INI section name holds \"]\" or ends in a lead byte");
  CheckName(key, "key");
  if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
    throw std::invalid_argument("INI key holds \"=\" or starts with \"[\" or \";\"");
  CheckLine(value, "value");

  std::string stored(value);
  if (Trim(value).size() != value.size() || Quoted(value)) stored = '"' + stored + '"';

  const auto s = FindSection(section);
  if (!s) {
    Insert(lines_.size(), "[" + std::string(section) + "]");
    Insert(lines_.size(), std::string(key) + "=" + stored);
    return;
  }
  if (const auto k = FindKey(*s, key)) {
    std::string& line = lines_[*k].Text;
    line = line.substr(0, Parse(line).ValueStart) + stored;
    return;
  }
  size_t last = s->Header;
  for (size_t i = s->Header + 1; i < s->End; ++i)
    if (!Trim(lines_[i].Text).empty()) last = i;
  Insert(last + 1, std::string(key) + "=" + stored);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Bytes() const {
  std::string bytes;
  for (const TLine& line : lines_) bytes += line.Text + line.End;
  return bytes;
}

void TIniFile::Save(const std::string& path) const {
  // Through a symbolic link the file it names is replaced, not the link.
  const std::string target = LinkTarget(path);
  // Renaming would replace a read-only file too; the user's protection of it must hold.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
    throw TIniWriteError(path, EACCES);
  // The shared writer leaves no temporary file even when the process is killed half-way.
  try {
    WriteFileAtomically(path, Bytes());
  } catch (const TFileError& e) {
    throw TIniWriteError(path, e.Failure());
  }
}

}  // namespace mipofc
