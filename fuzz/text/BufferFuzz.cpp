// Fuzz target: the plain and the coloured buffer against the literal reference, each run's edits
// chosen by the input instead of a seeded engine (the first byte picks the buffer).
#include <cstddef>
#include <cstdint>

#include "coloring/ColorString.h"
#include "tests/text/DifferentialRun.h"
#include "text/BlackString.h"

namespace {
// Two input bytes per choice; past the input's end every choice is 0 (type at the cursor).
class InputChoices {
public:
    InputChoices(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    unsigned operator()() {
        unsigned value = 0;
        for (int k = 0; k < 2; ++k) value = value << 8 | (m_pos < m_size ? m_data[m_pos++] : 0u);
        return value;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace

// A failed comparison throws out of the target, which libFuzzer reports as a crash with the input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    GTEST_FLAG_SET(throw_on_failure, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    InputChoices choices(data + 1, size - 1);
    int steps = (int)(size / 3) + 1;
    if (data[0] & 1) {
        DifferentialRun<CColorString, true, InputChoices> run(choices);
        run.Run(steps);
    } else {
        DifferentialRun<CBlackString, false, InputChoices> run(choices);
        run.Run(steps);
    }
    return 0;
}
