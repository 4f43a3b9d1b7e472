#pragma once
// The calculator's picture export: the canvas picture of a project, after show-all on a canvas
// of the given size, as a metafile (.wmf, without Qt) or as SVG, PDF or PNG (through the Qt
// painter, on the offscreen platform).
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class TMKPSpace;

struct TPictureOptions {
    bool Requested = false;
    std::string File;
    std::uint8_t Mode = 0; // TypZobrazeni: 0 model, 1 T, 2 N, 3 M, 4 def
    int Width = 765;
    int Height = 520;
    bool Numbers = false;
    bool Reactions = false;
    bool Fit = false; // the diagram scale fitted to the picture (result modes)
};

// The usage lines of the picture options.
extern const char* const KPictureUsage;

// When args[i] is a picture option, takes it (and its value, advancing i) into the options and
// returns true; error is set for a missing or bad value.
bool TakePictureOption(const std::vector<std::string>& args, std::size_t& i, TPictureOptions& options,
                       std::string& error);

// Draws the read (and, for a result mode, computed) model and writes the file atomically.
// Returns 0; 1 when a result mode was asked for and the computation refused the structure;
// 2 with a message on err when the file cannot be written or its type is unknown.
int WritePicture(TMKPSpace& space, const TPictureOptions& options, std::ostream& out, std::ostream& err);

// The format from the file name's extension: "wmf", "svg", "pdf", "png", or "" when unknown.
std::string PictureFormat(const std::string& fileName);
