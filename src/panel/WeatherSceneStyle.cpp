#include "WeatherSceneStyle.h"

namespace talvo {

namespace {

QColor sky(qreal red, qreal green, qreal blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(WeatherSceneStyle::kGradientOpacity));
}

} // namespace

WeatherSceneStyle::Style WeatherSceneStyle::styleFor(const QString &condition)
{
    if (condition == u"Clear")
        return {Scene::Sun, sky(0.2, 0.6, 0.9), sky(0.4, 0.8, 1.0)};
    if (condition == u"Rain" || condition == u"Heavy Rain" || condition == u"Storm")
        return {Scene::Rain, sky(0.2, 0.2, 0.3), sky(0.3, 0.4, 0.5)};
    return {Scene::Clouds, sky(0.4, 0.5, 0.6), sky(0.6, 0.7, 0.8)};
}

QString WeatherSceneStyle::nameOf(Scene scene)
{
    switch (scene) {
    case Scene::Sun:
        return QStringLiteral("sun");
    case Scene::Rain:
        return QStringLiteral("rain");
    case Scene::Clouds:
        break;
    }
    return QStringLiteral("clouds");
}

void WeatherSceneStyle::setCondition(const QString &condition)
{
    if (condition == m_condition)
        return;
    m_condition = condition;
    m_style = styleFor(condition);
    emit changed();
}

} // namespace talvo
