#pragma once
// When the window fits a result diagram to the canvas by itself: the first time each result tab
// ("T", "N", "M", "def") is shown after a computation, since at the default scale a diagram
// easily runs off the canvas. Later showings keep the scale and the view the user left; the key
// "f" fits at any time.
#include <bitset>

class TResultTabFit {
public:
    // A computation succeeded: every result tab counts as not yet shown.
    void Computed();
    // Tab `index` (0 "model" … 4 "def") is shown; true when its diagram is to be fitted now.
    bool Shown(int index);

private:
    std::bitset<5> mShown;
};
