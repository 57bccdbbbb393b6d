#include "FatalSignalReport.h"

#include <array>
#include <csignal>
#include <cstring>
#include <execinfo.h>
#include <unistd.h>

namespace talvo {

// Sanitizer builds keep their own report.
#if !defined(__SANITIZE_ADDRESS__)
namespace {

constexpr std::array kFatalSignals{SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// Only async-signal-safe calls from here on.
void writeText(const char *text)
{
    ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void writeNumber(int number)
{
    char text[12];
    char *end = text + sizeof(text);
    char *first = end;
    *--first = '\0';
    unsigned value = number < 0 ? 0U : unsigned(number);
    do {
        *--first = char('0' + value % 10);
        value /= 10;
    } while (value != 0 && first > text);
    writeText(first);
}

void report(int signalNumber)
{
    writeText("talvo: fatal signal ");
    writeNumber(signalNumber);
    writeText("; call stack:\n");
    std::array<void *, 64> frames{};
    const int count = ::backtrace(frames.data(), int(frames.size()));
    ::backtrace_symbols_fd(frames.data(), count, STDERR_FILENO);
    // SA_RESETHAND put the default action back: die of the signal itself.
    ::raise(signalNumber);
}

} // namespace
#endif

void installFatalSignalReport()
{
#if !defined(__SANITIZE_ADDRESS__)
    // The first backtrace() loads the unwinder, which allocates: not in the handler.
    std::array<void *, 2> warm{};
    ::backtrace(warm.data(), int(warm.size()));

    // Its own stack, so that a stack overflow is reported too.
    static std::array<char, 64 * 1024> alternateStack;
    stack_t stack{};
    stack.ss_sp = alternateStack.data();
    stack.ss_size = alternateStack.size();
    ::sigaltstack(&stack, nullptr);

    struct sigaction action{};
    action.sa_handler = report;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : kFatalSignals)
        ::sigaction(signalNumber, &action, nullptr);
#endif
}

} // namespace talvo
