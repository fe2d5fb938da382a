// The small subset of SVG path text that the frame uses: "M x y" moves to an absolute point,
// "l dx dy" draws a line by a relative offset, "Z" closes the figure.
#pragma once

#include <string>
#include <vector>

struct PathPoint {
  double x, y;
};
using PathFigure = std::vector<PathPoint>;

// The closed figures of text; false for anything else than the three commands with their
// numbers (figures read so far are dropped then).
bool ParsePathText(const std::string& text, std::vector<PathFigure>& figures);
