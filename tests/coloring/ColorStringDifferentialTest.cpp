// The coloured buffer against the literal reference: its bracketed edits rebuild at the bracket's
// close, its deletions and replacements do not run the bracket.
#include "tests/text/DifferentialRun.h"

#include "coloring/ColorString.h"

TEST(ColorStringDifferential, LongMixedRunMatchesTheLiteralBuffer) {
    DifferentialRun<CColorString, true> run(7031);
    run.Run(DifferentialSteps());
}
