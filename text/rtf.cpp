// A small RTF reader that keeps only the characters: the memo shows text, and the tiles are
// made from text, so formatting, tables of fonts and colours, pictures and fields' codes go.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "text/text.h"

namespace mipofc {
namespace {

enum class TDest {
  Text,       // characters go to the output
  Skip,       // a destination whose content is not text
  FontTable,  // \fonttbl: read for the fonts' character sets, no output
  Upr,        // \upr: its ANSI part is dropped in favour of the \ud part inside it
};

struct TGroupState {
  TDest Dest = TDest::Text;
  int UcSkip = 1;  // fallback characters after \uN
  int Font = -1;   // \fN in use; -1 = none
};

// Groups nested deeper than this share their parent's state: no real document comes near it,
// and it bounds the memory a hostile file can make us take.
constexpr size_t MaxDepth = 1000;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code page of a \fcharset; 0 = the document's.
int CharsetCodePage(int charset) {
  switch (charset) {
    case 0: case 2: return 1252;  // ANSI; symbol fonts' bytes are shown as they are
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
  }
}

// Destinations whose content is not part of the document's text.
bool IsSkippedDestination(std::string_view word) {
  static const char* const names[] = {
      "colortbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf",
      "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "xe", "tc", "txe", "pntext",
      "pntxta", "pntxtb", "listtext", "listtable", "listoverridetable", "revtbl", "filetbl",
      "rsidtbl", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
      "generator", "nonshppict", "shp", "shpinst", "annotation", "atnid", "atnauthor", "private",
      "userprops", "docvar", "bkmkstart", "bkmkend", "template", "fchars", "lchars"};
  return std::find(std::begin(names), std::end(names), word) != std::end(names);
}

// Words that stand for one character.
char16_t SpecialCharacter(std::string_view word) {
  static const std::pair<const char*, char16_t> table[] = {
      {"par", u'\n'},       {"line", u'\n'},      {"sect", u'\n'},       {"page", u'\n'},
      {"row", u'\n'},       {"tab", u'\t'},       {"cell", u'\t'},       {"nestcell", u'\t'},
      {"emdash", u'\u2014'}, {"endash", u'\u2013'}, {"bullet", u'\u2022'}, {"lquote", u'\u2018'},
      {"rquote", u'\u2019'}, {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'},
      {"emspace", u'\u2003'}, {"enspace", u'\u2002'}, {"qmspace", u'\u2005'}};
  for (const auto& [name, ch] : table)
    if (word == name) return ch;
  return 0;
}

class TRtfReader {
 public:
  explicit TRtfReader(std::string_view rtf) : in_(rtf) {}

  std::u16string Read() {
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        OpenGroup();
      } else if (c == '}') {
        ++pos_;
        if (!CloseGroup()) break;  // the document's outermost group is closed
      } else if (c == '\\') {
        ++pos_;
        Control();
      } else if (c == '\r' || c == '\n') {
        ++pos_;  // line breaks of the file are not text; \par is
      } else {
        ++pos_;
        if (!SkippedAsFallback() && state_.Dest == TDest::Text && c != '\0') AddByte(c);
      }
    }
    Flush();
    return std::move(out_);
  }

 private:
  void OpenGroup() {
    skip_ = 0;
    ignorable_ = false;
    if (stack_.size() >= MaxDepth) {
      ++overflowDepth_;
      return;
    }
    Flush();
    stack_.push_back(state_);
  }

  // Returns false when the outermost group closes.
  bool CloseGroup() {
    skip_ = 0;
    ignorable_ = false;
    if (overflowDepth_ > 0) {
      --overflowDepth_;
      return true;
    }
    Flush();
    if (stack_.empty()) return false;
    state_ = stack_.back();
    stack_.pop_back();
    return !stack_.empty();
  }

  // After \uN the next UcSkip characters are the ANSI stand-in for it: each text byte,
  // \'hh, control symbol or control word counts as one.
  bool SkippedAsFallback() {
    if (skip_ == 0) return false;
    --skip_;
    return true;
  }

  void Control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (IsLetter(c)) {
      const size_t start = pos_;
      while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
      const std::string_view word = in_.substr(start, pos_ - start);
      bool hasParam = false;
      bool negative = false;
      std::int64_t param = 0;
      if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
      }
      while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        hasParam = true;
        param = std::min<std::int64_t>(param * 10 + (in_[pos_] - '0'), 1'000'000'000);
        ++pos_;
      }
      if (negative) param = -param;
      if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
      if (word == "bin") {
        // Binary data is skipped in any destination; its bytes may look like braces.
        pos_ += static_cast<size_t>(std::clamp<std::int64_t>(param, 0, in_.size() - pos_));
        return;
      }
      if (SkippedAsFallback()) return;
      Word(word, hasParam, static_cast<int>(param));
      return;
    }
    ++pos_;
    if (c == '\'') {
      const int hi = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
      if (hi < 0) return;
      const int lo = ++pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
      if (lo < 0) return;  // a cut-off escape stands for nothing
      ++pos_;
      if (!SkippedAsFallback() && state_.Dest == TDest::Text) AddByte(static_cast<char>(hi << 4 | lo));
      return;
    }
    if (SkippedAsFallback()) return;
    if (c == '*') {
      ignorable_ = true;
      return;
    }
    if (state_.Dest != TDest::Text) return;
    switch (c) {
      case '\\': case '{': case '}': AddByte(c); break;
      case '~': AddChar(u'\u00A0'); break;
      case '_': AddChar(u'\u2011'); break;
      case '\r': case '\n': AddChar(u'\n'); break;  // "\" at the end of a line is \par
      default: break;  // \- optional hyphen, \| \: and unknown symbols have no character
    }
  }

  void Word(std::string_view word, bool hasParam, int param) {
    const bool ignorable = ignorable_;
    ignorable_ = false;
    if (word == "ud") {
      // The Unicode form of an \upr group, or a lone \ud read as it stands.
      if (state_.Dest == TDest::Upr) state_.Dest = TDest::Text;
      return;
    }
    if (state_.Dest == TDest::Skip || state_.Dest == TDest::Upr) return;
    if (state_.Dest == TDest::FontTable) {
      FontTableWord(word, hasParam, param, ignorable);
      return;
    }
    if (ignorable || IsSkippedDestination(word)) {
      Flush();
      state_.Dest = TDest::Skip;
      return;
    }
    if (word == "fonttbl") {
      Flush();
      state_.Dest = TDest::FontTable;
    } else if (word == "upr") {
      Flush();
      state_.Dest = TDest::Upr;
    } else if (word == "u" && hasParam) {
      if (param >= -32768 && param <= 65535) {
        AddChar(static_cast<char16_t>(param < 0 ? param + 65536 : param));
        skip_ = state_.UcSkip;
      }
    } else if (word == "uc" && hasParam) {
      state_.UcSkip = std::max(param, 0);
    } else if (word == "f" && hasParam) {
      Flush();
      state_.Font = param;
    } else if (word == "plain") {
      Flush();
      state_.Font = defaultFont_;
    } else if (word == "deff" && hasParam) {
      defaultFont_ = param;
      if (state_.Font < 0) state_.Font = param;
    } else if (word == "ansi") {
      SetDocumentCodePage(1252);
    } else if (word == "ansicpg" && hasParam && param > 0) {
      SetDocumentCodePage(param);
    } else if (word == "mac") {
      SetDocumentCodePage(10000);
    } else if (word == "pc") {
      SetDocumentCodePage(437);
    } else if (word == "pca") {
      SetDocumentCodePage(850);
    } else if (const char16_t ch = SpecialCharacter(word)) {
      AddChar(ch);
    }
  }

  void FontTableWord(std::string_view word, bool hasParam, int param, bool ignorable) {
    if (ignorable) {
      state_.Dest = TDest::Skip;  // \*\panose, \*\falt and the like
    } else if (word == "f" && hasParam) {
      definingFont_ = param;
    } else if (word == "fcharset" && hasParam) {
      if (const int cp = CharsetCodePage(param)) fontCodePages_[definingFont_] = cp;
    } else if (word == "cpg" && hasParam && param > 0) {
      fontCodePages_[definingFont_] = param;
    }
  }

  void SetDocumentCodePage(int codePage) {
    Flush();
    documentCodePage_ = codePage;
  }

  int CodePage() const {
    const auto it = fontCodePages_.find(state_.Font);
    return it != fontCodePages_.end() ? it->second : documentCodePage_;
  }

  void AddByte(char b) {
    const int cp = CodePage();
    if (!pending_.empty() && cp != pendingCodePage_) Flush();
    pendingCodePage_ = cp;
    pending_ += b;
  }

  void AddChar(char16_t c) {
    Flush();
    out_ += c;
  }

  // Bytes are decoded together so that a double-byte character written as two \'hh reads whole.
  void Flush() {
    if (pending_.empty()) return;
    out_ += DecodeCodePage(pendingCodePage_, pending_);
    pending_.clear();
  }

  std::string_view in_;
  size_t pos_ = 0;
  std::vector<TGroupState> stack_;
  TGroupState state_;
  size_t overflowDepth_ = 0;
  int skip_ = 0;            // fallback characters still to drop after \uN
  bool ignorable_ = false;  // \* seen; the next word is a destination we may not know
  int documentCodePage_ = 936;
  int defaultFont_ = -1;
  int definingFont_ = -1;
  std::map<int, int> fontCodePages_;
  std::string pending_;
  int pendingCodePage_ = 0;
  std::u16string out_;
};

}  // namespace

std::u16string RtfToText(std::string_view rtf) { return TRtfReader(rtf).Read(); }

}  // namespace mipofc
