#pragma once
// The core's small error hierarchy: bad number texts and bad files. A singular structure is a
// result of the solver, never an exception.
#include <stdexcept>
#include <string>

class TKorvanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not convert to a number; Text() is the offending text.
class TNumberError : public TKorvanError {
public:
    TNumberError(const std::string& message, std::string text)
        : TKorvanError(message), mText(std::move(text)) {}
    const std::string& Text() const { return mText; }

private:
    std::string mText;
};

// A file whose content cannot be taken: Line() is the 1-based line number (0 when the fault is not
// tied to a line), LineText() the text of that line.
class TFileFormatError : public TKorvanError {
public:
    TFileFormatError(const std::string& message, int line, std::string lineText)
        : TKorvanError(message), mLine(line), mLineText(std::move(lineText)) {}
    int Line() const { return mLine; }
    const std::string& LineText() const { return mLineText; }

private:
    int mLine;
    std::string mLineText;
};

// A file that cannot be opened, read or written. Reason() is the cause alone (the system's text
// for the error, or a short Czech phrase), for messages that name several files at once.
class TFileIoError : public TKorvanError {
public:
    TFileIoError(const std::string& message, std::string path, std::string reason = {})
        : TKorvanError(message), mPath(std::move(path)), mReason(std::move(reason)) {}
    const std::string& Path() const { return mPath; }
    const std::string& Reason() const { return mReason; }

private:
    std::string mPath;
    std::string mReason;
};
