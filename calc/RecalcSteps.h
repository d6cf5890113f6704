// The two halves of the recalculation, which Recalculate runs in this order.
#pragma once

#include "calc/Recalculate.h"

namespace kelvra
{

// The volume steps: the derived measures from the inputs, the front-plate check, the woofer, port,
// partition and other volumes, the inner, outer and net volume and both result captions. An early
// stop leaves what was written so far and puts its message in `outcome`. True when the steps reached
// the net volume without a stop, so the figure step is due.
bool RecalculateVolumes(const RecalcInputs& inputs, CalcState& state, RecalcOutcome& outcome);

// The figure step: the drawing's measure captions, the port marker and the parameter text, from the
// measures the volume steps wrote.
void UpdateFigureAndParams(const RecalcInputs& inputs, CalcState& state);

} // namespace kelvra
