#pragma once
// Line-by-line reading of the project and library files: one value per line, lines ended by CR LF
// (a bare LF and a lone CR are taken as well), names in windows-1250, reals with either decimal separator.
// Every value read remembers its 1-based line number, so errors can name the line.
#include <fstream>
#include <istream>
#include <string>

#include "model/Types.h"

// Opens a project or library file for reading; TFileIoError when it does not exist, is a folder
// or cannot be opened.
std::ifstream OpenForReading(const std::string& path);

class TValueLines {
public:
    explicit TValueLines(std::istream& in, std::string path = {}) : mIn(in), mPath(std::move(path)) {}

    // The next line without its line end; false at the end of the file. Throws TFileIoError when
    // the stream fails for another reason than its end.
    bool Next(std::string& line);
    // The next line as a value; at the end of the file an empty text (the number conversions then
    // fail on it, as they do on an empty line).
    std::string Value();
    // A name line, decoded from windows-1250 into UTF-8.
    std::string Name();
    // A real: separator adapted with NormalizujOddelovac, then converted with the program's
    // separator. A text that does not convert, or a value that is not finite, raises
    // TFileFormatError with the conversion message and the line.
    TReal Real();
    // A decimal integer; TFileFormatError with the conversion message and the line otherwise.
    int Int();
    // A flag line: an integer that must be 0 or 1.
    bool Flag();

    // Line number of the line read last (0 before the first).
    int LineNumber() const { return mLine; }
    // Throws TFileFormatError with "Řádek N: " and the message, for the given line.
    [[noreturn]] void Refuse(const std::string& message, int line) const;

private:
    [[noreturn]] void ConversionFailed(const std::string& message, const std::string& text) const;

    std::istream& mIn;
    std::string mPath;
    // The text read up to the last LF and where in it the next line starts (npos: all handed out).
    std::string mPending;
    std::size_t mPendingAt = std::string::npos;
    int mLine = 0;
    bool mAtEnd = false;
    bool mEndCounted = false;
};
