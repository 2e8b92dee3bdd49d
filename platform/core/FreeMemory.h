#pragma once
// Hands the heap's free pages back to the system. After a big log is freed the allocator keeps
// them for reuse; a smaller log opened next would never need them.
void ReturnFreeMemory();
