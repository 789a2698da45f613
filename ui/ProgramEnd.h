#pragma once

#include <functional>

// Cancel, Exit and either window's close box end the program at once, without saving; the
// editor's close box first asks about unsaved edits.
// Tests replace the ending to see that it was asked for.
using ProgramEnder = std::function<void()>;

void endProgram();

// Returns the previous ender; an empty one restores leaving the event loop.
ProgramEnder setProgramEnder(ProgramEnder ender);
