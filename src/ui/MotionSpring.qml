import QtQuick
import Talvo

// SpringAnimation driven by one of the program's springs (see Springs), so that
// every spring with the same response and damping moves alike.
SpringAnimation {
    property var motion: Springs.notch

    spring: motion.spring
    damping: motion.damping
    mass: motion.mass
    epsilon: 0.005
}
