#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class PowerSource;

// The panel header's battery indicator: the percentage and the battery symbol
// for the power source's level, hidden when the machine has no battery.
//
// Main thread only.
class BatteryStatus : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool shown READ shown NOTIFY changed)
    Q_PROPERTY(double level READ level NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(QString symbol READ symbol NOTIFY changed)
public:
    explicit BatteryStatus(PowerSource &source, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static BatteryStatus *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // "90%" for 0.9: the whole percent below the level.
    static QString textFor(double level);
    static QString symbolFor(double level);

    bool shown() const;
    double level() const;
    QString text() const { return textFor(level()); }
    QString symbol() const { return symbolFor(level()); }

signals:
    void changed();

private:
    PowerSource &m_source;
};

} // namespace talvo
