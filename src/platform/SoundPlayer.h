#pragma once

#include <QString>

namespace talvo {

// Plays the short named sounds of the interface: "Pop" (an item landed on the
// shelf), "Tink" (success), "Basso" (warning), "Glass" (done). Fire and
// forget: returns at once, never reports failure to the caller; a backend that
// cannot play logs once and stays silent.
//
// Main thread.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &name) = 0;
};

} // namespace talvo
