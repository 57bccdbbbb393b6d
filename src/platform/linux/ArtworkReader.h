#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>

namespace talvo {

// Fetches the bytes of a player's artwork from the address the player gives:
// a local file (only a regular file, and only up to the size bound) or an
// http/https address (the body up to the size bound, the whole exchange
// within the time bound). Other addresses are refused.
//
// Blocks the calling thread, which needs no event loop of its own; meant for
// the player queue.
struct ArtworkReader
{
    struct Limits
    {
        qint64 maxBytes = 8 * 1024 * 1024;
        std::chrono::milliseconds timeout{10000};
    };
    struct Outcome
    {
        QByteArray bytes;
        QString error; // empty on success
    };

    static Outcome read(const QUrl &address, const Limits &limits);
    static Outcome read(const QUrl &address) { return read(address, Limits{}); }
};

} // namespace talvo
