// Fonts by name, through fontconfig.
#include "fonts.h"

#include <fontconfig/fontconfig.h>

#include <set>

#include "unicode.h"

namespace {

// Families of pattern bound strongly, as fontconfig binds a family and its metric aliases;
// the weak ones are mere fallbacks. Lower case.
std::set<std::string> StandIns(FcPattern* pattern, const std::string& family) {
  std::set<std::string> names = {AsciiLower(family)};
  FcValue value;
  FcValueBinding binding;
  for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch;
       ++i)
    if (value.type == FcTypeString && binding != FcValueBindingWeak)
      names.insert(AsciiLower(reinterpret_cast<const char*>(value.u.s)));
  return names;
}

}  // namespace

bool FontIsAvailable(const std::string& family, bool bold, bool italic) {
  if (family.empty() || !FcInit()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  const std::set<std::string> acceptable = StandIns(pattern, family);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  bool found = false;
  FcChar8* name = nullptr;
  for (int i = 0;
       match && !found && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    found = acceptable.count(AsciiLower(reinterpret_cast<const char*>(name))) != 0;
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return found;
}
