// Registration of every benchmark, in the order they run: the pair behind each goal runs
// back to back in the same world.
#pragma once

namespace bench {

void registerArrivalScans();
void registerPreSteps();
void registerHostSteps();

} // namespace bench
