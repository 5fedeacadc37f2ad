// Fuzz target: compile, search and build a replacement from arbitrary bytes; copies must agree, and on
// short ASCII subjects the match and groups must equal the recursive reference matcher's.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "regex/RegExp.h"
#include "tests/regex/RegReference.h"

namespace {
// The input's next field: bytes up to a zero byte (consumed) or the end.
std::string Field(const uint8_t*& p, const uint8_t* end) {
    const uint8_t* start = p;
    while (p < end && *p != 0) ++p;
    std::string s(reinterpret_cast<const char*>(start), (size_t)(p - start));
    if (p < end) ++p;
    return s;
}

bool Ascii(const std::string& s) {
    for (char c : s)
        if ((unsigned char)c >= 0x80) return false;
    return true;
}

void Check(bool ok) {
    if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    std::string pattern = Field(p, end), templ = Field(p, end), subject = Field(p, end);
    CRegExp re;
    bool compiled = re.RegComp(pattern.c_str()) != nullptr;
    int at = re.RegFind(subject.c_str());
    if (!compiled) {
        Check(at == -1);
        return 0;
    }
    Check(at >= -1 && at <= (int)subject.size());
    int length = re.GetFindLen();
    Check(at == -1 ? length == 0 : length >= 0 && at + length <= (int)subject.size());
    std::unique_ptr<char[]> replaced(re.GetReplaceString(templ.c_str()));
    Check((at == -1) == (replaced == nullptr));

    CRegExp copy(re);
    CRegExp assigned;
    assigned = re;
    std::string again = subject + "!";
    int first = copy.RegFind(again.c_str());
    Check(assigned.RegFind(again.c_str()) == first && copy.GetFindLen() == assigned.GetFindLen());
    Check(first == re.RegFind(again.c_str()) && re.GetFindLen() == copy.GetFindLen());

    if (subject.size() <= 48 && Ascii(subject)) {
        at = re.RegFind(subject.c_str());
        CRegReference::Result want = CRegReference(re.Program(), 20000).Find(subject.c_str());
        if (want.decided) {
            Check(at == want.offset);
            for (int g = 0; at >= 0 && g < CRegExp::kGroups; ++g)
                Check(re.GroupStart(g) == want.startp[g] && re.GroupEnd(g) == want.endp[g]);
        }
    }
    return 0;
}
