#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <optional>

namespace talvo {

// What the desktop knows about the drag-and-drop session of any program.
//
// A new drag's source is asked what it offers for a short time after it takes
// the selection; while isAsking() holds, types() and uriList() may still
// change. A source that publishes nothing and answers nothing leaves its types
// unknown: only the window under the pointer learns them.
//
// Main thread only.
class DragSelection : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~DragSelection() override = default;

    // Bumped whenever some program starts a new drag (takes over the drag
    // selection) or the drag data goes away; never decreases.
    virtual qint64 changeCount() const = 0;
    // MIME types offered by the drag behind the current change count; empty
    // while unknown or when the source offers nothing readable.
    virtual QStringList types() const = 0;
    // The source is still being asked what it offers.
    virtual bool isAsking() const = 0;
    // False when the source neither published its types nor told them when
    // asked (also while it is being asked).
    virtual bool typesKnown() const = 0;
    // The drag's URL list (text/uri-list) as its source sent it; nothing when
    // it offers none or did not send it.
    virtual std::optional<QByteArray> uriList() const = 0;

signals:
    // The change count, the types, the URL list or the asking state changed.
    void changed();
};

} // namespace talvo
