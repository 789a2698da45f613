#include "ProgramEnd.h"

#include <QCoreApplication>

namespace {

void leaveEventLoop() { QCoreApplication::exit(0); }

ProgramEnder &currentEnder() {
    static ProgramEnder ender = leaveEventLoop;
    return ender;
}

} // namespace

void endProgram() { currentEnder()(); }

ProgramEnder setProgramEnder(ProgramEnder ender) {
    ProgramEnder previous = currentEnder();
    currentEnder() = ender ? std::move(ender) : ProgramEnder(leaveEventLoop);
    return previous;
}
