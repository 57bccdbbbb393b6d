#pragma once

#include "SpringMotion.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The named springs of the program, for C++ and QML alike. A view that needs
// a spring of its own asks motion(response, dampingFraction) rather than
// picking SpringAnimation numbers by hand.
//
// Stateless: QML's engine may create it; every instance answers the same.
class Springs : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Hover, expand and collapse of the notch; every state change of its body.
    Q_PROPERTY(talvo::SpringMotion notch READ notch CONSTANT)
    // A file drag starting or ending anywhere on screen.
    Q_PROPERTY(talvo::SpringMotion dragState READ dragState CONSTANT)
    // Switching the panel's tab.
    Q_PROPERTY(talvo::SpringMotion tabSwitch READ tabSwitch CONSTANT)
    // Items entering and leaving the shelf.
    Q_PROPERTY(talvo::SpringMotion shelf READ shelf CONSTANT)
    // The drop target's symbol growing while a drag is over it.
    Q_PROPERTY(talvo::SpringMotion dropTargetSymbol READ dropTargetSymbol CONSTANT)
    // One greeting giving way to the next.
    Q_PROPERTY(talvo::SpringMotion greeting READ greeting CONSTANT)

public:
    using QObject::QObject;

    static SpringMotion notch() { return SpringMotion::fromResponse(0.28, 0.68); }
    static SpringMotion dragState() { return SpringMotion::fromResponse(0.32, 0.76); }
    static SpringMotion tabSwitch() { return SpringMotion::fromResponse(0.3, 0.75); }
    static SpringMotion shelf() { return SpringMotion::fromPhysics(1, 300, 20); }
    static SpringMotion dropTargetSymbol() { return SpringMotion::fromResponse(0.28, 0.55); }
    static SpringMotion greeting() { return SpringMotion::fromResponse(0.45, 0.72); }

    Q_INVOKABLE talvo::SpringMotion motion(qreal response, qreal dampingFraction) const
    {
        return SpringMotion::fromResponse(response, dampingFraction);
    }
};

} // namespace talvo
