#include "base/failure.h"

#include <cstring>

namespace mipofc {

namespace {

// "16 KB" for whole kilobytes, else "N bytes"; "" stands for a size no 64 bits hold.
std::string SizeText(const std::string& bytes) {
  if (bytes.empty()) return "larger than 2^64 bytes";
  const unsigned long long n = std::strtoull(bytes.c_str(), nullptr, 10);
  return n % 1024 == 0 ? std::to_string(n / 1024) + " KB" : bytes + " bytes";
}

std::string OverText(const std::string& over) { return over.empty() ? "more bytes than any file holds" : over + " bytes"; }

std::string EncodingText(const std::string& id) {
  if (id == "utf-8-bom") return "UTF-8 (its byte-order mark says so)";
  if (id == "utf-16le-bom") return "UTF-16LE (its byte-order mark says so)";
  if (id == "utf-16be-bom") return "UTF-16BE (its byte-order mark says so)";
  if (id == "gbk") return "GBK (code page 936), as it is not UTF-8";
  return "UTF-8";
}

// A ROM job's output by its id: "rom", "ips" or "bps".
std::string OutputText(const std::string& id) {
  return id == "ips" ? "the IPS patch" : id == "bps" ? "the BPS patch" : "the patched ROM";
}

}  // namespace

const std::string& TFailure::At(std::size_t i) const {
  static const std::string none;
  return i < Values.size() ? Values[i] : none;
}

TFailure SystemFailure(int error) { return {TFailureKind::System, {std::to_string(error)}}; }

std::string EnglishReason(const TFailure& f) {
  const auto v = [&](std::size_t i) -> const std::string& { return f.At(i); };
  switch (f.Kind) {
    case TFailureKind::System: return std::strerror(std::atoi(v(0).c_str()));
    case TFailureKind::NotTextUnread:
      return v(0) == "gbk" ? "not text: neither UTF-8 nor GBK (code page 936) reads line " + v(1)
                           : "not text: " + EncodingText(v(0)) + " does not read line " + v(1);
    case TFailureKind::NotTextOddUtf16:
      return "not text: " + EncodingText(v(0)) + " takes an even number of bytes; it has " + v(1);
    case TFailureKind::NotTextControl:
      return "not text: line " + v(0) + " holds the control character " + v(1) + ", which no text has (read as " +
             EncodingText(v(2)) + "; UTF-16 needs a byte-order mark)";
    case TFailureKind::NotTextUnknown: return "not text: " + EncodingText(v(0)) + " does not read it";
    case TFailureKind::NotParamFile: return "not a parameter file: none of its sections is one a parameter file has";
    case TFailureKind::FontFileUriEscape:
      return "FontFile=" + v(0) + " is a file: URI that does not decode to a path: its escape \"" + v(1) +
             "\" is not % and two hex digits";
    case TFailureKind::FontFileUriEmpty: return "FontFile=" + v(0) + " is a file: URI that does not decode to a path: it names no path";
    case TFailureKind::FontFileUriNul:
      return "FontFile=" + v(0) + " is a file: URI that does not decode to a path: it decodes to a NUL byte, which no path holds";
    case TFailureKind::FontNameNotGbk: return "the font name \"" + v(0) + "\" cannot be written in code page 936";
    case TFailureKind::TableCharNotGbk: return v(0) + " cannot be written in GBK";
    case TFailureKind::TableNotGbk: return "the table cannot be written in GBK";
    case TFailureKind::TableNotEntry: return "not a table entry (HEX=TEXT, *HEX or /HEX)";
    case TFailureKind::TableMissingCode: return "missing code";
    case TFailureKind::TableCodeNotHex: return "code '" + v(0) + "' is not hexadecimal";
    case TFailureKind::TableCodeOddDigits: return "code '" + v(0) + "' has an odd number of hex digits";
    case TFailureKind::TableCodeTooLong: return "code '" + v(0) + "' has more than 6 hex digits (3 bytes)";
    case TFailureKind::TableEmptyText: return "code " + v(0) + " has an empty text";
    case TFailureKind::TableCodeTwice: return "code " + v(0) + " is already on line " + v(1);
    case TFailureKind::TableCodeElsewhere: return "code " + v(0) + " is also in " + v(1) + ":" + v(2);
    case TFailureKind::OutsideBmp:
      return v(0) + " is outside the Basic Multilingual Plane (a bank cell holds one UTF-16 code unit)";
    case TFailureKind::LoneSurrogate: return v(0) + " is a lone surrogate, not a character";
    case TFailureKind::CodeRange:
      return v(0) + " characters from code " + v(1) + " need codes up to " + v(2) + ", more than " + v(3) +
             (v(3) == "1" ? " byte holds" : " bytes hold") + " (highest " + v(4) + ")";
    case TFailureKind::IpsTooLarge:
      return "an IPS patch reaches only the first 16 MiB (3-byte offsets); the ROM is " + v(0) +
             " bytes (write a BPS patch instead)";
    case TFailureKind::IpsShortens:
      return "an IPS patch cannot shorten a file (" + v(0) + " bytes to " + v(1) + " bytes)";
    case TFailureKind::NoChrRom:
      return "has no CHR-ROM (CHR size 0: the game draws its tiles from CHR-RAM); --at OFFSET writes the banks "
             "anywhere in the file";
    case TFailureKind::BankNoTiles: return "holds no tiles (0 bytes)";
    case TFailureKind::BankNotTiles: return v(0) + " bytes is not a whole number of 16-byte tiles";
    case TFailureKind::PastChrRom:
      return "the banks run " + OverText(v(0)) + " past the CHR-ROM (" + v(1) + " KB; " + v(2) +
             " bytes of banks from kilobyte " + v(3) + ")";
    case TFailureKind::PastEndOfFile:
      return "the banks run " + OverText(v(0)) + " past the end of the file (" + v(1) + " bytes; " + v(2) +
             " bytes of banks from offset " + v(3) + ")";
    case TFailureKind::HeaderTooShort: return "shorter than an iNES header: " + v(0) + " bytes of the 16 it takes";
    case TFailureKind::NotInes: return "not an iNES ROM (it does not start with \"NES\" 0x1A)";
    case TFailureKind::RomShorterThanHeader:
      return "shorter than its header says: " + v(0) + " bytes, but " +
             (v(1) == "1" ? "the header, the trainer, " : "the header, ") + SizeText(v(2)) + " of PRG-ROM and " +
             SizeText(v(3)) + " of CHR-ROM take " + (v(4).empty() ? "more than any file holds" : v(4) + " bytes");
    case TFailureKind::PatchIsRom:
      return "is the ROM " + OutputText(v(0)) + " is made from; give the patch a name of its own";
    case TFailureKind::OutputTwice: return "is named as " + OutputText(v(0)) + " and as " + OutputText(v(1));
    case TFailureKind::FontNoFace: return "no face " + v(0) + " in this file";
    case TFailureKind::FontUnreadable: return v(0).empty() ? "FreeType error " + v(1) : v(0);
    case TFailureKind::FontNoOutlines: return "the face has neither outlines nor bitmap sizes";
    case TFailureKind::FontCannotSize: return "cannot set " + v(0) + " pixels: " + v(1);
    case TFailureKind::FontNoMatch: return "no font matches this family";
    case TFailureKind::FontConfigMissing: return "no configuration could be loaded";
    case TFailureKind::OutOfMemory: return "out of memory";
    case TFailureKind::Unwritable: return "cannot be written";
    case TFailureKind::FolderMissing: return "its folder " + v(0) + " does not exist";
    case TFailureKind::NotAFolder: return v(0) + " is not a folder";
  }
  return {};
}

}  // namespace mipofc
