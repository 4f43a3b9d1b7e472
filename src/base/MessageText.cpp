#include "base/MessageText.h"

#include <cstdio>
#include <new>

std::string EscapeControls(std::string_view text, bool keepLineBreaks) {
    std::string shown;
    shown.reserve(text.size());
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (keepLineBreaks && (c == '\n' || c == '\t')) {
            shown += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            shown += escape;
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            std::snprintf(escape, sizeof escape, "\\u00%02X", static_cast<unsigned char>(text[++i]));
            shown += escape;
        } else {
            shown += char(c);
        }
    }
    return shown;
}

std::string ErrorText(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "nedostatek paměti";
    return e.what();
}
