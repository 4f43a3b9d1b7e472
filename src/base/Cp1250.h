#pragma once
// Conversion between UTF-8 (the program's strings) and windows-1250, the 8-bit code page of the
// project and library files. Every byte of windows-1250 decodes; the five bytes the code page
// leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) decode to the C1 control characters of the same
// value, as Windows does, so that any file reads and writes back byte for byte.
#include <string>

// Decodes windows-1250 bytes into UTF-8. Never fails.
std::string Cp1250ToUtf8(const std::string& bytes);

// Encodes UTF-8 text into windows-1250. Returns false when the text is not valid UTF-8 or holds a
// character the code page has no byte for; badChar then receives that character (UTF-8) or the
// offending byte sequence, and out is left unspecified.
bool TryUtf8ToCp1250(const std::string& text, std::string& out, std::string& badChar);

// As TryUtf8ToCp1250, but throws TKorvanError naming the character that cannot be stored.
std::string Utf8ToCp1250(const std::string& text);

// The windows-1250 byte of one code point; false when the code page has none.
bool EncodeCp1250(char32_t c, char& out);

// Encodes UTF-8 text for display only (metafile texts): a character the code page cannot hold or
// a malformed sequence becomes the replacement byte.
std::string Utf8ToCp1250Lossy(const std::string& text, char replacement = '?');
