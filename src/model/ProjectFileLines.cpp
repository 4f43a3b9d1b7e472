#include "model/ProjectFileLines.h"

#include <cmath>
#include <filesystem>

#include "model/Cp1250.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "units/Prevody.h"

std::ifstream OpenForReading(const std::string& path) {
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ec)) in.open(path, std::ios::binary);
    if (!in.is_open()) throw TFileIoError("Soubor „" + path + "“ nelze otevřít.", path);
    return in;
}

// A line ends at CR LF, at LF or at a lone CR (classic Mac line ends): a text read up to LF is
// handed out piece by piece between its CRs.
bool TValueLines::Next(std::string& line) {
    if (mPendingAt == std::string::npos) {
        if (mAtEnd || !std::getline(mIn, mPending)) {
            if (mIn.bad())
                throw TFileIoError(
                    "Soubor " + (mPath.empty() ? std::string() : "„" + mPath + "“ ") + "nelze přečíst.", mPath);
            mAtEnd = true;
            line.clear();
            return false;
        }
        if (!mPending.empty() && mPending.back() == '\r') mPending.pop_back();
        mPendingAt = 0;
    }
    ++mLine;
    const std::size_t cr = mPending.find('\r', mPendingAt);
    if (cr == std::string::npos) {
        line.assign(mPending, mPendingAt, std::string::npos);
        mPendingAt = std::string::npos;
    } else {
        line.assign(mPending, mPendingAt, cr - mPendingAt);
        mPendingAt = cr + 1;
    }
    return true;
}

std::string TValueLines::Value() {
    std::string line;
    // The missing line is the one after the last, however often the reader asks past the end.
    if (!Next(line) && !mEndCounted) {
        ++mLine;
        mEndCounted = true;
    }
    return line;
}

std::string TValueLines::Name() {
    return Cp1250ToUtf8(Value());
}

void TValueLines::Refuse(const std::string& message, int line) const {
    throw TFileFormatError("Řádek " + std::to_string(line) + ": " + message, line, {});
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

TReal TValueLines::Real() {
    std::string text = Value();
    std::string normalised = text;
    NormalizujOddelovac(normalised);
    TReal value = 0.0L;
    try {
        value = StrToFloat(normalised);
    } catch (const TNumberError& e) {
        ConversionFailed(e.what(), normalised);
    }
    if (!std::isfinite(value)) Refuse("hodnota „" + ShownInMessage(Cp1250ToUtf8(text)) + "“ není konečné číslo.", mLine);
    return value;
}

int TValueLines::Int() {
    std::string text = Value();
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
