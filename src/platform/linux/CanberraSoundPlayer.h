#pragma once

#include "platform/SoundPlayer.h"

#include <QSet>

#include <memory>

namespace talvo {

class WorkQueue;

// Named sounds through libcanberra and the freedesktop sound theme. The
// canberra context is opened on first use and used only on the given queue:
// connecting to the sound server and loading a sample may take a while and
// must not stall the interface. Without a sound server nothing plays and one
// line is logged for the whole run; a later play tries again, so sound comes
// back once a server appears.
class CanberraSoundPlayer final : public SoundPlayer
{
public:
    explicit CanberraSoundPlayer(WorkQueue &queue);
    ~CanberraSoundPlayer() override;

    void play(const QString &name) override;

    // The sound-theme event id for an interface sound name; empty for a name
    // the table does not have.
    static QString soundThemeId(const QString &name);

private:
    struct State;

    WorkQueue &m_queue;
    std::shared_ptr<State> m_state;
    QSet<QString> m_reportedUnknown;
};

} // namespace talvo
