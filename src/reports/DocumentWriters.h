#pragma once
// Writers of a styled document: plain text, RTF (what the report viewer saves) and HTML (what a
// Qt text view shows). All three take UTF-8 line texts.
#include <string>

#include "reports/StyledDocument.h"

// One line per document line, each ended by "\n", UTF-8 as stored.
std::string DocumentToText(const TStyledDocument& doc);

// An RTF document in Arial: per line "\plain\f0[\b]\fsN " (N in half-points), the escaped text and
// "\par". Characters outside ASCII are written as "\uN" (signed 16-bit, surrogate pairs above
// U+FFFF) followed by their windows-1250 byte as the fallback for older readers, or "?".
std::string DocumentToRtf(const TStyledDocument& doc);

// A complete HTML page: one paragraph per line with its weight and size, blanks kept.
std::string DocumentToHtml(const TStyledDocument& doc);

// Writes the RTF document to a file atomically (a temporary file in the same folder, then a
// rename), so a failed write never destroys an existing file. Throws TFileIoError on failure.
void SaveDocumentAsRtf(const TStyledDocument& doc, const std::string& fileName);

// The windows-1250 byte of a Unicode code point, or 0 when the code page has none.
unsigned char UnicodeToCp1250(char32_t c);
