#pragma once
// A styled text document as the report viewer holds it: an ordered list of lines, each with its
// own bold flag and font size (points), plus the caption of the window that shows it. The style
// set by SetBold/SetSize applies to the lines appended after it, as in a rich-text memo.
#include <string>
#include <vector>

struct TStyledLine {
    std::string Text; // UTF-8, without a line break
    bool Bold = false;
    int Size = 8; // points
};

class TStyledDocument {
public:
    // Removes every line; the style for the following lines and the caption stay.
    void Clear() { mLines.clear(); }
    void SetBold(bool bold) { mBold = bold; }
    void SetSize(int points) { mSize = points; }
    void SetStyle(bool bold, int points) {
        mBold = bold;
        mSize = points;
    }
    // Appends one line in the current style; an empty text appends an empty line.
    void AppendLine(const std::string& text) { mLines.push_back({text, mBold, mSize}); }
    void SetCaption(const std::string& caption) { mCaption = caption; }

    const std::vector<TStyledLine>& Lines() const { return mLines; }
    const std::string& Caption() const { return mCaption; }
    bool Bold() const { return mBold; }
    int Size() const { return mSize; }

private:
    std::vector<TStyledLine> mLines;
    bool mBold = false;
    int mSize = 8;
    std::string mCaption;
};
