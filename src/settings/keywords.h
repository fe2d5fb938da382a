// The option keyword tables: words of the command line and their setting values.
#pragma once

#include <string>

// The value of word (any ASCII letter case, compared whole and untrimmed) in table (a
// KeywordTableId); 0 for an unknown word, a table out of range, and the two tables that
// only name values (frame kind, watermark kind).
int KeywordValue(int table, const std::string& word);
// The first word the table lists for value; empty when it has none or table is out of range.
std::string KeywordName(int table, int value);
