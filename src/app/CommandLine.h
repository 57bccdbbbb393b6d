#pragma once

#include <QStringList>

#include <functional>

class QTextStream;

namespace talvo {

class ControlClient;

// `talvo VERB ...`: drives the running instance from a shell or a key binding.
// Exit codes: 0 done, 1 refused or no running instance (the reason on
// standard error), 2 bad usage.
struct CommandLine
{
    ControlClient &client;
    QTextStream &out;
    QTextStream &err;
    // Where relative paths are resolved.
    QString workingFolder;
    // The whole standard input, for `add --text -`.
    std::function<QString()> readInput;

    // True when `argument` (the first after the program name) is a verb or
    // option handled here rather than a start of the program.
    static bool handles(const QString &argument);
    // Runs the verb in `arguments` (without the program name).
    int run(const QStringList &arguments);

    static QString usageText();
};

} // namespace talvo
