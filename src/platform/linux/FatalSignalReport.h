#pragma once

namespace talvo {

// On a crash (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) the program writes
// "talvo: fatal signal N" and the call stack to standard error, then dies of
// the same signal, so that a core dump and the parent's view of the death
// stay as they were. A program that crashes on a user's desktop otherwise
// leaves nothing in the journal to say where.
//
// Call once, early in main(). Builds with AddressSanitizer keep its own,
// better report.
void installFatalSignalReport();

} // namespace talvo
