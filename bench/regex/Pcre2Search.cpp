// PCRE2 (8-bit) behind the benchmark's small search interface.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "Pcre2Search.h"

#include <pcre2.h>

struct Pcre2Pattern {
    pcre2_code* code;
    pcre2_match_data* match;
};

bool Pcre2Available() {
    return true;
}

Pcre2Pattern* Pcre2Compile(const char* pattern, bool jit) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0, &error,
                                     &offset, nullptr);
    if (!code) return nullptr;
    if (jit && pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) != 0) {
        pcre2_code_free(code);
        return nullptr;
    }
    return new Pcre2Pattern{code, pcre2_match_data_create_from_pattern(code, nullptr)};
}

long Pcre2Find(Pcre2Pattern* p, const char* subject, size_t length) {
    int rc = pcre2_match(p->code, reinterpret_cast<PCRE2_SPTR>(subject), length, 0, 0, p->match, nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) return -1;
    if (rc < 0) return -2;
    return (long)pcre2_get_ovector_pointer(p->match)[0];
}

void Pcre2Free(Pcre2Pattern* p) {
    if (!p) return;
    pcre2_match_data_free(p->match);
    pcre2_code_free(p->code);
    delete p;
}
