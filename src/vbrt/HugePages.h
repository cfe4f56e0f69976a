#pragma once
// A module of a million lines is a million small heap blocks; on virtual
// machines the page faults for them cost more than the work itself. glibc backs
// its heap with transparent huge pages only when told so before a program
// starts, so a program calls this first thing in main: it restarts itself once
// with that setting (and simply goes on when it cannot).
namespace vbrt {

void UseHugePagesForTheHeap(char** argv);

}  // namespace vbrt
