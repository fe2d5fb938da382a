// The frame's path text: M, l and Z commands with decimal numbers.
#include "path_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

struct Reader {
  const std::string& text;
  size_t at = 0;

  void SkipSpace() {
    while (at < text.size() &&
           (std::isspace(static_cast<unsigned char>(text[at])) || text[at] == ','))
      ++at;
  }
  bool AtEnd() {
    SkipSpace();
    return at >= text.size();
  }
  char Command() { return AtEnd() ? '\0' : text[at++]; }
  bool Number(double& value) {
    SkipSpace();
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;  // from_chars takes no plus sign
    const auto [end, error] = std::from_chars(first, last, value);
    // Infinities and NaN are no path numbers, and no shape could be filled with them.
    if (error != std::errc() || !std::isfinite(value)) return false;
    at = static_cast<size_t>(end - text.data());
    return true;
  }
  bool Point(PathPoint& point) { return Number(point.x) && Number(point.y); }
};

}  // namespace

bool ParsePathText(const std::string& text, std::vector<PathFigure>& figures) {
  figures.clear();
  Reader reader{text};
  PathFigure figure;
  PathPoint point{0, 0}, offset{0, 0};
  bool ok = true;
  while (ok && !reader.AtEnd()) {
    switch (reader.Command()) {
      case 'M':
        ok = reader.Point(point);
        if (!figure.empty()) figures.push_back(figure);
        figure.assign(1, point);
        break;
      case 'l':
        ok = !figure.empty() && reader.Point(offset);
        point = {point.x + offset.x, point.y + offset.y};
        figure.push_back(point);
        break;
      case 'Z':
        // A close with no figure open names nothing.
        ok = !figure.empty();
        if (!ok) break;
        figures.push_back(figure);
        point = figure.front();
        figure.clear();
        break;
      default:
        ok = false;
    }
  }
  if (ok && !figure.empty()) figures.push_back(figure);
  if (!ok) figures.clear();
  return ok;
}
