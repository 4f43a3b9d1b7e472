#pragma once
// Writers of a styled document: plain text, RTF (what the report viewer saves) and HTML (what a
// Qt text view shows). All three take UTF-8 line texts.
#include <string>
#include <vector>

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

// A piece of a paragraph in one character format, as an edited rich-text memo holds it.
struct TRichRun {
    std::string Text; // UTF-8; a "\n" inside stands for a line break within the paragraph
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 16; // font size in half-points (RTF's unit)
};
using TRichParagraph = std::vector<TRichRun>;

// An RTF document in Arial of paragraphs made of runs: per run "\plain\f0[\b][\i][\ul]\fsN " and
// the escaped text, per paragraph "\par". A paragraph of a single plain or bold run is written
// byte for byte as DocumentToRtf writes a line of the same style; an empty paragraph keeps the
// size of the paragraph's empty run, or the previous size when it has none.
std::string RichTextToRtf(const std::vector<TRichParagraph>& paragraphs);

// The runs of a styled document: one paragraph of one run per line.
std::vector<TRichParagraph> DocumentToRichText(const TStyledDocument& doc);
