// Substring search for find and replace: a case-blind forward search by Knuth-Morris-Pratt and a backward
// search.
#pragma once

// Offset of the first occurrence of pattern in text with the 26 ASCII capitals folded to small letters
// (every other byte, DBCS bytes included, compares exactly), or -1. An empty pattern is found at 0.
int KmpFindNoCase(const char* text, const char* pattern);

// Fills table[0..length-1] with the failure function of pattern under the same folding:
// table[k] is the length of the longest proper prefix of pattern[0..k-1] that is also its suffix.
void KmpNext(int length, const char* pattern, int* table);

// The largest offset p <= start (start -1 or past the end: the last possible offset) at which pattern
// occurs wholly inside text, under the same folding; -1 when none, or the pattern is empty or longer
// than the text.
int KmpFindReverse(const char* text, const char* pattern, int start);
