#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/failure.h"

namespace mipofc {

/// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
/// UTF-8 to UTF-16; each ill-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
/// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

/// GBK (code page 936) bytes to UTF-16; nullopt when some byte sequence is not GBK.
std::optional<std::u16string> GbkToUtf16(std::string_view bytes);
/// UTF-16 to GBK (code page 936); nullopt when some character has no GBK form.
std::optional<std::string> Utf16ToGbk(std::u16string_view text);
/// UTF-8 to GBK; nullopt when the text is not UTF-8 or has a character GBK lacks.
std::optional<std::string> Utf8ToGbk(std::string_view text);
/// Bytes in a Windows code page (936, 1252, 932, ...) to UTF-16; each byte that the page cannot
/// read becomes U+FFFD. An unknown page reads as 1252.
std::u16string DecodeCodePage(int codePage, std::string_view bytes);

/// The characters of an RTF document: text and \uN characters without markup, \par and \line
/// as '\n', \tab as '\t'; font, colour and style tables, pictures and other ignorable
/// destinations skipped; \'hh bytes read in the code page of the font in use (\fcharset),
/// else of the document (\ansicpg, else \ansi 1252, \mac, \pc, \pca; 936 when it names none).
std::u16string RtfToText(std::string_view rtf);

/// The characters of a text file's bytes: RTF when they start with "{\rtf"; else UTF-8 or
/// UTF-16 LE/BE with a byte-order mark; else UTF-8 when valid; else GBK. nullopt when none of
/// these reads them, or they hold control characters no text has (a binary file).
std::optional<std::u16string> DecodeText(std::string_view bytes);
/// DecodeText without the RTF rule: bytes that start with "{\rtf" read as plain text too.
std::optional<std::u16string> DecodePlainText(std::string_view bytes);
/// DecodeText of a file's bytes. Throws TFileError(path, strerror) when the file cannot be
/// read and TFileError(path, NotTextFailure) when its bytes are not text.
std::u16string LoadTextFile(const std::string& path);

/// Why DecodePlainText does not read bytes: the encoding tried and the line it failed at, or
/// the control character that no text has.
TFailure NotTextFailure(std::string_view bytes);
/// DecodeText of a file, or of standard input for "-"; throws TFileError(file or "standard
/// input", NotTextFailure) when the bytes hold no text.
std::u16string ReadTextInput(const std::string& input);

/// The text as the engine sees it: CR, LF, U+2028 and U+2029 removed, all else kept in order.
std::u16string JoinedText(std::u16string_view text);

}  // namespace mipofc
