#pragma once

#include "platform/DragSessions.h"

#include <QList>

namespace talvo {

// Records each session; the test plays its start and its end.
class FakeDragSessions final : public DragSessions
{
public:
    struct Session
    {
        Request request;
        Began began;
        Ended ended;
    };

    void start(Request request, Began began, Ended ended) override
    {
        sessions.append(std::make_shared<Session>(Session{std::move(request), std::move(began), std::move(ended)}));
    }

    // Starts the last session and ends it with `action`, as a real one would.
    void run(Qt::DropAction action)
    {
        Session &session = *sessions.last();
        if (auto began = std::exchange(session.began, {}))
            began();
        if (auto ended = std::exchange(session.ended, {}))
            ended(action);
    }

    QList<std::shared_ptr<Session>> sessions;
};

} // namespace talvo
