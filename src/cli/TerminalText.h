#pragma once
// An output stream that passes text on with its control characters escaped (EscapeControls;
// line breaks and tabs stay): the calculator's messages quote names and lines of the files it
// reads, and no byte of a file may reach a terminal raw.
#include <ostream>
#include <streambuf>

class TEscapingBuf : public std::streambuf {
public:
    explicit TEscapingBuf(std::streambuf* target) : mTarget(target) {}
    ~TEscapingBuf() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void Put(char c);

    std::streambuf* mTarget;
    bool mLead = false; // a 0xC2 byte held back: with the next byte it may be a C1 control
};

class TEscapingStream : public std::ostream {
public:
    explicit TEscapingStream(std::ostream& target) : std::ostream(nullptr), mBuf(target.rdbuf()) {
        rdbuf(&mBuf);
    }
    ~TEscapingStream() override { flush(); }

private:
    TEscapingBuf mBuf;
};
