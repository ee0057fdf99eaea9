// Counts heap allocations of the whole process, whichever way they are made (malloc, operator
// new, inside the C library), so that a test can show that a piece of code makes none.
#pragma once

long heapAllocationCount();
