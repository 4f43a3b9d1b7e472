#include "model/ProjectFileLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/Cp1250.h"
#include "base/Errors.h"
#include "base/MessageText.h"
#include "base/NumberText.h"
#include "model/LargeBlock.h"
#include "units/Prevody.h"

namespace {
std::atomic<std::uint64_t> gMaxInputSize{std::uint64_t(1) << 30};

[[noreturn]] void CannotOpen(const std::string& path, const std::string& reason) {
    throw TFileIoError("Soubor „" + path + "“ nelze otevřít: " + reason + ".", path, reason);
}
} // namespace

std::uint64_t MaxInputSize() {
    return gMaxInputSize;
}

void SetMaxInputSize(std::uint64_t bytes) {
    gMaxInputSize = std::min<std::uint64_t>(bytes, std::uint64_t(1) << 62);
}

std::string SizeText(std::uint64_t bytes) {
    static const char* const KUnits[] = {"GB", "MB", "kB"};
    for (int i = 0; i < 3; ++i) {
        const std::uint64_t unit = std::uint64_t(1) << (10 * (3 - i));
        if (bytes >= unit && bytes % unit == 0) return std::to_string(bytes / unit) + " " + KUnits[i];
    }
    return std::to_string(bytes) + " B";
}

// What is opened is checked on a descriptor opened without waiting (a FIFO with no writer would
// block the open itself), and the stream then opens that same file through the descriptor.
std::ifstream OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) CannotOpen(path, std::strerror(errno));
    struct stat st {};
    std::string problem;
    if (::fstat(fd, &st) != 0)
        problem = std::strerror(errno);
    else if (S_ISDIR(st.st_mode))
        problem = "je to složka";
    else if (!S_ISREG(st.st_mode))
        problem = "není to obyčejný soubor (zařízení, roura nebo soket)";
    else if (std::uint64_t(st.st_size) > MaxInputSize())
        problem = "je větší než " + SizeText(MaxInputSize());
    std::ifstream in;
    if (problem.empty()) {
        in.open("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
        if (!in.is_open()) in.open(path, std::ios::binary); // no /proc
        if (!in.is_open()) problem = std::strerror(errno ? errno : EACCES);
    }
    ::close(fd);
    if (!problem.empty()) CannotOpen(path, problem);
    return in;
}

namespace {
// What '.' and ',' stand for after NormalizujOddelovac with the given system separator.
char SeparatorAs(const std::string& system) {
    return system == "." ? '.' : system == "," ? ',' : '\0';
}
} // namespace

TValueLines::~TValueLines() {
    FreeLarge(mLarge, mLargeBytes);
}

void TValueLines::TooLarge() const {
    const std::string what = mPath.empty() ? std::string("Vstup") : "Soubor „" + mPath + "“";
    throw TFileIoError(what + " je větší než " + SizeText(MaxInputSize()) +
                           "; tak velký projekt nelze načíst.",
                       mPath, "větší než " + SizeText(MaxInputSize()));
}

// The stream's rest in one read where its size can be told (a file), in growing pieces otherwise;
// either way never more than MaxInputSize().
void TValueLines::ReadWhole() {
    mRead = true;
    mSeparatorAs = SeparatorAs(SystemDecimalSeparator());
    const std::uint64_t limit = MaxInputSize();
    std::size_t chunk = std::size_t(1) << 16;
    if (std::streambuf* buffer = mIn.rdbuf()) {
        const auto here = buffer->pubseekoff(0, std::ios::cur, std::ios::in);
        const auto end =
            here == std::streampos(-1) ? here : buffer->pubseekoff(0, std::ios::end, std::ios::in);
        if (end != std::streampos(-1) && end >= here && buffer->pubseekpos(here, std::ios::in) == here) {
            if (std::uint64_t(end - here) > limit) TooLarge();
            chunk = std::size_t(end - here) + 1; // one byte more, to meet the end in the same read
        }
    }
    // A large file goes into huge pages of its own (one fault instead of one per 4 kB page).
    if (chunk >= std::size_t(1) << 20) {
        mLarge = static_cast<char*>(AllocateLarge(chunk));
        mLargeBytes = chunk;
        mIn.read(mLarge, std::streamsize(chunk));
        const std::size_t got = std::size_t(mIn.gcount());
        if (!mIn) {
            mView = std::string_view(mLarge, got);
        } else { // it grew meanwhile: the rest in pieces
            mText.assign(mLarge, got);
            FreeLarge(mLarge, mLargeBytes);
            mLarge = nullptr;
        }
    }
    if (!mLarge) {
        std::size_t size = mText.size();
        for (;; chunk = std::min<std::size_t>(2 * chunk, std::size_t(1) << 24)) {
            // One byte past the limit tells a stream that goes on from one that ends there.
            chunk =
                std::size_t(std::min<std::uint64_t>(chunk, limit + 1 - std::min<std::uint64_t>(size, limit)));
            mText.resize(size + chunk);
            mIn.read(mText.data() + size, std::streamsize(chunk));
            size += std::size_t(mIn.gcount());
            if (size > limit) {
                std::string().swap(mText);
                TooLarge();
            }
            if (!mIn) break;
        }
        mText.resize(size);
        mView = mText;
    }
    if (mIn.bad())
        throw TFileIoError("Soubor " + (mPath.empty() ? std::string() : "„" + mPath + "“ ") +
                               "nelze přečíst.",
                           mPath, "chyba při čtení");
    // LF CR line ends (some old editors) are known by the first line: a line with text, then LF
    // and CR. Otherwise LF CR stays two line ends, as a lone LF and a lone CR are.
    const std::size_t first = mView.find_first_of("\r\n");
    mLfCr = first != std::string_view::npos && first > 0 && mView[first] == '\n' &&
            first + 1 < mView.size() && mView[first + 1] == '\r' &&
            (first + 2 == mView.size() || mView[first + 2] != '\n');
}

// A line ends at CR LF, at LF or at a lone CR (classic Mac line ends), or at LF CR in a file whose
// lines end so.
bool TValueLines::Next(std::string_view& line) {
    if (!mRead) ReadWhole();
    const std::size_t size = mView.size();
    if (mAt >= size) {
        mAtEnd = true;
        line = {};
        return false;
    }
    ++mLine;
    const char* text = mView.data();
    std::size_t end = mAt;
    while (end < size && text[end] != '\n' && text[end] != '\r')
        ++end;
    line = std::string_view(text + mAt, end - mAt);
    if (end + 1 < size && ((text[end] == '\r' && text[end + 1] == '\n') ||
                           (mLfCr && text[end] == '\n' && text[end + 1] == '\r')))
        ++end;
    mAt = end + 1;
    return true;
}

bool TValueLines::Next(std::string& line) {
    std::string_view view;
    const bool got = Next(view);
    line.assign(view);
    return got;
}

std::string_view TValueLines::ValueView() {
    std::string_view line;
    // The missing line is the one after the last, however often the reader asks past the end.
    if (!Next(line) && !mEndCounted) {
        ++mLine;
        mEndCounted = true;
    }
    return line;
}

std::string TValueLines::Value() {
    return std::string(ValueView());
}

std::string TValueLines::Name() {
    return Cp1250ToUtf8(Value());
}

void TValueLines::Refuse(const std::string& message, int line) const {
    throw TFileFormatError("Řádek " + std::to_string(line) + ": " + EscapeControls(message), line, {});
}

void TValueLines::ConversionFailed(const std::string& message, const std::string& text) const {
    // The conversion message quotes the raw text; show it decoded, like every other text.
    std::string shown = message;
    const std::string quoted = ShownInMessage(text);
    if (std::size_t at = shown.find(quoted); !text.empty() && at != std::string::npos)
        shown.replace(at, quoted.size(), ShownInMessage(Cp1250ToUtf8(text)));
    std::string where = "řádek " + std::to_string(mLine);
    if (mAtEnd) where += ", neočekávaný konec souboru";
    throw TFileFormatError(shown + " (" + where + ")", mLine, Cp1250ToUtf8(text));
}

namespace {
// A plain decimal as the file writer writes it ("-12", "0,25", "210000.5": a sign, digits, at most
// one separator, no exponent, no blanks) with at most 19 significant digits and 27 decimals, read
// exactly: its digits as an integer and a power of ten are both exact in 80 bits, so their one
// quotient is the correctly rounded value, as the full conversion gives it. `separatorAs` is
// what a '.' or ',' stands for after the separator adaptation (0: itself). False for any other
// text, which then takes the full conversion.
bool ReadPlainReal(std::string_view text, char separatorAs, char separator, TReal& value) {
    static constexpr TReal KPowers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                        1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                        1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::uint64_t digits = 0;
    int significant = 0, decimals = 0, count = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++count;
            if (separatorSeen) ++decimals;
            if (digits != 0 || c != '0') {
                if (++significant > 19) return false;
                digits = digits * 10 + std::uint64_t(c - '0');
            }
        } else if ((c == '.' || c == ',') && !separatorSeen && (separatorAs ? separatorAs : c) == separator) {
            separatorSeen = true;
        } else {
            return false;
        }
    }
    if (count == 0 || decimals > 27) return false;
    const TReal magnitude = decimals == 0 ? TReal(digits) : TReal(digits) / KPowers[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

TReal TValueLines::Real() {
    const std::string_view view = ValueView();
    TReal value = 0.0L;
    if (ReadPlainReal(view, mSeparatorAs, DecimalSeparator(), value)) return value;
    std::string text(view);
    std::string normalised = text;
    NormalizujOddelovac(normalised);
    try {
        value = StrToFloat(normalised);
    } catch (const TNumberError& e) {
        ConversionFailed(e.what(), normalised);
    }
    if (!std::isfinite(value))
        Refuse("hodnota „" + ShownInMessage(Cp1250ToUtf8(text)) + "“ není konečné číslo.", mLine);
    return value;
}

int TValueLines::Int() {
    const std::string_view view = ValueView();
    // A plain number of up to nine digits, the common case, directly.
    if (!view.empty() && view.size() <= 9) {
        int value = 0;
        std::size_t i = 0;
        while (i < view.size() && view[i] >= '0' && view[i] <= '9')
            value = value * 10 + (view[i++] - '0');
        if (i == view.size()) return value;
    }
    std::string text(view);
    try {
        return StrToInt(text);
    } catch (const TNumberError& e) {
        ConversionFailed(e.what(), text);
    }
}

bool TValueLines::Flag() {
    int value = Int();
    if (value != 0 && value != 1)
        Refuse("očekávána hodnota 0 nebo 1, nalezeno „" + std::to_string(value) + "“.", mLine);
    return value == 1;
}
