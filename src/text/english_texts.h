// The built-in English texts the text table is built from.
#pragma once

#include <cstddef>

// One pair of the data: a key "_GROUP_" opens the group named by its text, the key "_END_"
// closes the data, and every other pair is an entry of the group opened last.
struct TextPair {
  const char* key;
  const char* text;
};

const TextPair* EnglishTexts();
// Number of pairs, the closing "_END_" pair included.
size_t EnglishTextCount();
