#pragma once

// Counts the heap allocations of the whole test program (the loaded bundle's too,
// when the program exports its symbols). Link the object library
// vexbit_allocation_counter into a test program to replace the global operator new.
namespace vexbit::test {

// Starts counting from zero.
void startCountingAllocations();
// Stops counting and returns how many allocations were made since the start.
long stopCountingAllocations();

// Counts the allocations made while running fn.
template <class Fn>
long allocationsDuring(Fn&& fn)
{
    startCountingAllocations();
    fn();
    return stopCountingAllocations();
}

} // namespace vexbit::test
