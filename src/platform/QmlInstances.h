#pragma once

#include <QJSEngine>
#include <QQmlEngine>

namespace talvo {

// The application builds its long-lived objects in C++ and hands them to the
// QML engine; QML singletons then return those instances from their create()
// instead of constructing new ones. The instance is stored on the engine, so
// two engines (as in tests) never share one by accident.
template <typename T>
void provideToQml(QQmlEngine &engine, T *instance)
{
    engine.setProperty(T::staticMetaObject.className(), QVariant::fromValue(static_cast<QObject *>(instance)));
}

template <typename T>
T *providedInstance(QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    auto *instance = qobject_cast<T *>(engine->property(T::staticMetaObject.className()).template value<QObject *>());
    if (instance)
        QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

} // namespace talvo
