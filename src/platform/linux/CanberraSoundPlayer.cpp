#include "CanberraSoundPlayer.h"

#include "platform/ApplicationId.h"
#include "platform/Log.h"
#include "platform/WorkQueue.h"

#include <canberra.h>

namespace talvo {

// Touched only on the queue's thread (and destroyed wherever the last
// reference goes, after the queue is done with it).
struct CanberraSoundPlayer::State
{
    ca_context *context = nullptr;
    bool reportedFailure = false;

    ~State() { close(); }

    void close()
    {
        if (context)
            ca_context_destroy(context);
        context = nullptr;
    }

    void report(int error)
    {
        if (std::exchange(reportedFailure, true))
            return;
        qCWarning(lcSound).noquote() << QStringLiteral("cannot play sounds: ") + QString::fromUtf8(ca_strerror(error));
    }

    bool open()
    {
        if (context)
            return true;
        int error = ca_context_create(&context);
        if (error == CA_SUCCESS) {
            ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Talvo", CA_PROP_APPLICATION_ID,
                                    kApplicationId, nullptr);
            error = ca_context_open(context);
        }
        if (error != CA_SUCCESS) {
            report(error);
            close();
            return false;
        }
        return true;
    }

    void play(const QByteArray &eventId)
    {
        if (!open())
            return;
        const int error = ca_context_play(context, 0, CA_PROP_EVENT_ID, eventId.constData(), CA_PROP_MEDIA_ROLE,
                                          "event", nullptr);
        // Disabled: the user turned event sounds off, which is not a fault.
        if (error == CA_SUCCESS || error == CA_ERROR_DISABLED)
            return;
        report(error);
        // A lost server leaves the context dead; the next play reconnects.
        if (error == CA_ERROR_DISCONNECTED || error == CA_ERROR_STATE)
            close();
    }
};

CanberraSoundPlayer::CanberraSoundPlayer(WorkQueue &queue) : m_queue(queue), m_state(std::make_shared<State>()) {}

CanberraSoundPlayer::~CanberraSoundPlayer() = default;

QString CanberraSoundPlayer::soundThemeId(const QString &name)
{
    // The one table from interface sounds to freedesktop sound-theme events,
    // chosen by character: a short pop for an item landing on the shelf, a
    // light chime for success, a low warning, a bright ring for completion.
    static const QHash<QString, QString> table{
        {QStringLiteral("Pop"), QStringLiteral("message-new-instant")},
        {QStringLiteral("Tink"), QStringLiteral("complete")},
        {QStringLiteral("Basso"), QStringLiteral("dialog-warning")},
        {QStringLiteral("Glass"), QStringLiteral("bell")},
    };
    return table.value(name);
}

void CanberraSoundPlayer::play(const QString &name)
{
    const QString id = soundThemeId(name);
    if (id.isEmpty()) {
        if (!m_reportedUnknown.contains(name)) {
            m_reportedUnknown.insert(name);
            qCWarning(lcSound).noquote() << QStringLiteral("no sound named \"%1\"").arg(name);
        }
        return;
    }
    m_queue.dispatch([state = m_state, eventId = id.toUtf8()] { state->play(eventId); });
}

} // namespace talvo
