#include "sim/script/Interrupt.h"

#include <csignal>

namespace vx {

namespace {

volatile std::sig_atomic_t interruptSeen = 0;

extern "C" void noteInterrupt(int) {
    interruptSeen = 1;
}

} // namespace

void watchForInterrupt() {
    std::signal(SIGINT, noteInterrupt);
}

bool interrupted() {
    return interruptSeen != 0;
}

} // namespace vx
