#pragma once
// Texts that reach a message or a terminal from outside the program: the content of a file, a
// caught exception.
#include <exception>
#include <string>
#include <string_view>

// The text with every control character written as an escape, so that no byte of a file can
// move the cursor, retitle a terminal or cut a message short: C0 controls and DEL as "\xHH", the
// C1 controls (U+0080 to U+009F, two bytes in UTF-8) as "\u00HH". keepLineBreaks leaves LF and
// tab as they are (a whole message of several lines).
std::string EscapeControls(std::string_view text, bool keepLineBreaks = false);

// The text of a caught exception for a message; when memory ran out, "nedostatek paměti" instead
// of the library's own name for it.
std::string ErrorText(const std::exception& e);
