// Counts every heap allocation made through operator new in this test program (the host and
// the modules it loads included), so a test can show that a piece of work allocates nothing.
#pragma once

#include <cstddef>

namespace vx::test {

std::size_t allocationCount();

} // namespace vx::test
