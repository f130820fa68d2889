#include "progressrun.h"

namespace progressrun {

Tick tick(float barValue)
{
    if (barValue <= kThreshold)
        return {barValue + kStep, false};
    return {0.0f, true};
}

} // namespace progressrun
