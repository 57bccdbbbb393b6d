#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The weather card's animated backdrop for a condition name: a two-colour
// gradient (top-leading to bottom-trailing, both at 0.15) and the scene drawn
// over it. Names are compared exactly, case included; anything not listed
// gets the grey-blue sky with clouds.
//
//     WeatherSceneStyle { id: style; condition: WeatherManager.conditionName }
//     ... style.scene === WeatherSceneStyle.Rain ...
class WeatherSceneStyle : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString condition READ condition WRITE setCondition NOTIFY changed)
    Q_PROPERTY(Scene scene READ scene NOTIFY changed)
    Q_PROPERTY(QString sceneName READ sceneName NOTIFY changed)
    Q_PROPERTY(QColor firstColor READ firstColor NOTIFY changed)
    Q_PROPERTY(QColor secondColor READ secondColor NOTIFY changed)

public:
    enum class Scene { Sun, Clouds, Rain };
    Q_ENUM(Scene)

    struct Style
    {
        Scene scene;
        QColor first;
        QColor second;
    };

    static constexpr qreal kGradientOpacity = 0.15;

    static Style styleFor(const QString &condition);
    static QString nameOf(Scene scene);

    using QObject::QObject;

    QString condition() const { return m_condition; }
    void setCondition(const QString &condition);
    Scene scene() const { return m_style.scene; }
    QString sceneName() const { return nameOf(m_style.scene); }
    QColor firstColor() const { return m_style.first; }
    QColor secondColor() const { return m_style.second; }

signals:
    void changed();

private:
    QString m_condition;
    Style m_style = styleFor(QString());
};

} // namespace talvo
