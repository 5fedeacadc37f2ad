// The plain buffer against the literal reference over a long run of mixed edits.
#include "tests/text/DifferentialRun.h"

#include "text/BlackString.h"

TEST(BlackStringDifferential, LongMixedRunMatchesTheLiteralBuffer) {
    DifferentialRun<CBlackString, false> run(20261206);
    run.Run(DifferentialSteps());
}
