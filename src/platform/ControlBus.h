#pragma once

#include <QObject>
#include <QVariant>

namespace talvo {

class ControlCommands;

// The program's control interface on the user's session bus: it makes the
// program a single instance, publishes read-only state for tools and tests and
// takes the commands of the command line and of key bindings.
//
// Main thread only.
class ControlBus : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Claims the program's name. False when another instance already holds it;
    // then the caller hands over with activateRunningInstance() and exits.
    // Without a reachable bus (logged) the program runs alone: true.
    virtual bool registerInstance() = 0;
    // Asks the instance holding the name to come forward. False when none answers.
    virtual bool activateRunningInstance() = 0;
    // Sets a published property. A value equal to the current one changes
    // nothing; a new value is announced to listeners.
    virtual void publish(const QString &name, const QVariant &value) = 0;
    // Who carries out the interface's commands (open, add, quit...). Until one
    // is set, every command is refused with a "not ready" error. Not owned.
    virtual void setCommands(ControlCommands *commands) = 0;

signals:
    // Another launch asked this instance to come forward.
    void activationRequested();
    // Someone asked for the first-run greeting: the first-run flow and the
    // whole-program tests show it this way.
    void greetingRequested();
};

} // namespace talvo
