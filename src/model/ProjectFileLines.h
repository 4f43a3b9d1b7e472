#pragma once
// Line-by-line reading of the project and library files: one value per line, lines ended by CR LF
// (a bare LF and a lone CR are taken as well, and LF CR when the first line ends so), names in
// windows-1250, reals with either decimal separator.
// Every value read remembers its 1-based line number, so errors can name the line. The stream is
// read whole into one buffer at the first line asked for, and lines are handed out as views of it.
#include <cstdint>
#include <fstream>
#include <istream>
#include <string>
#include <string_view>

#include "base/Types.h"

// Opens a project or library file for reading; TFileIoError when it does not exist, is not a
// regular file (a folder, a device, a FIFO: reading one could wait for ever or never end), is
// larger than MaxInputSize() or cannot be opened. Standard input is read as a stream instead.
std::ifstream OpenForReading(const std::string& path);

// The largest project or library text read, in bytes (1 GB unless set): a larger file, or a stream
// that goes on past it, is refused with TFileIoError before its memory is taken.
std::uint64_t MaxInputSize();
void SetMaxInputSize(std::uint64_t bytes);
// A size for messages: "1 GB", "64 MB", "12 kB" when it is a whole number of them, else bytes.
std::string SizeText(std::uint64_t bytes);

class TValueLines {
public:
    explicit TValueLines(std::istream& in, std::string path = {}) : mIn(in), mPath(std::move(path)) {}
    ~TValueLines();
    TValueLines(const TValueLines&) = delete;
    TValueLines& operator=(const TValueLines&) = delete;

    // The next line without its line end; false at the end of the file. Throws TFileIoError when
    // the stream fails for another reason than its end. A view stays valid while this object lives.
    bool Next(std::string_view& line);
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
    // Throws TFileFormatError with "Řádek N: " and the message, for the given line; control
    // characters that a name from the file brings into the message are escaped.
    [[noreturn]] void Refuse(const std::string& message, int line) const;

private:
    [[noreturn]] void ConversionFailed(const std::string& message, const std::string& text) const;
    [[noreturn]] void TooLarge() const;
    void ReadWhole();
    std::string_view ValueView();

    std::istream& mIn;
    std::string mPath;
    // The whole text (in mText, or in a large block of its own) and where the next line starts.
    std::string mText;
    char* mLarge = nullptr;
    std::size_t mLargeBytes = 0;
    std::string_view mView;
    std::size_t mAt = 0;
    bool mRead = false;
    char mSeparatorAs = 0; // what '.' and ',' stand for once the separators are adapted (0: themselves)
    int mLine = 0;
    bool mLfCr = false; // LF CR ends a line (it ended the first one)
    bool mAtEnd = false;
    bool mEndCounted = false;
};
