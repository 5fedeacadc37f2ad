// The PCRE2 side of the regular-expression comparison; a stub stands in when the library is absent.
#pragma once

#include <cstddef>

struct Pcre2Pattern;

// False when the benchmark was built without PCRE2 (its rows are then left out).
bool Pcre2Available();
// Compiles pattern, with the JIT when jit is set; null on failure.
Pcre2Pattern* Pcre2Compile(const char* pattern, bool jit);
// Offset of the leftmost match in subject[0, length), -1 for none, -2 for a matcher error.
long Pcre2Find(Pcre2Pattern* compiled, const char* subject, size_t length);
void Pcre2Free(Pcre2Pattern* compiled);
