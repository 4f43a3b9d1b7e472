#include "cli/TerminalText.h"

#include <string>

#include "base/MessageText.h"

TEscapingBuf::~TEscapingBuf() {
    sync();
}

void TEscapingBuf::Put(char c) {
    std::string bytes(1, c);
    if (mLead) {
        mLead = false;
        const auto next = static_cast<unsigned char>(c);
        if (next >= 0x80 && next <= 0x9F)
            bytes.insert(bytes.begin(), '\xC2');
        else
            mTarget->sputc('\xC2');
    }
    if (bytes.size() == 1 && c == '\xC2') {
        mLead = true;
        return;
    }
    const std::string shown = EscapeControls(bytes, true);
    mTarget->sputn(shown.data(), std::streamsize(shown.size()));
}

TEscapingBuf::int_type TEscapingBuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    Put(traits_type::to_char_type(c));
    return c;
}

std::streamsize TEscapingBuf::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i)
        Put(s[i]);
    return n;
}

int TEscapingBuf::sync() {
    if (mLead) {
        mLead = false;
        mTarget->sputc('\xC2');
    }
    return mTarget->pubsync();
}
