// Stand-in for a build without PCRE2: the comparison rows are skipped.
#include "Pcre2Search.h"

bool Pcre2Available() {
    return false;
}
Pcre2Pattern* Pcre2Compile(const char*, bool) {
    return nullptr;
}
long Pcre2Find(Pcre2Pattern*, const char*, size_t) {
    return -2;
}
void Pcre2Free(Pcre2Pattern*) {}
