#pragma once

#include <QString>

namespace talvo {

// Every failure the program reports is one line on standard output: a fixed
// prefix naming the component (or a plain sentence) followed by the error's
// description. There are no levels and no log file.
//
// The line goes through Qt's message system as an info message, so tests can
// expect it with QTest::ignoreMessage(QtInfoMsg, ...); installLogHandler()
// makes such messages plain lines on standard output.
void logLine(const QString &prefix, const QString &description);

// Installs the process's message handler: info messages are written as they
// stand to standard output; warnings and errors from Qt itself go to standard
// error unchanged.
void installLogHandler();

} // namespace talvo
