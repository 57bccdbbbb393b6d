#include "Application.h"

#include "app/Preferences.h"
#include "platform/QtScheduler.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "ui/QmlInstances.h"

#include <QQmlEngine>

namespace talvo {

Application::Application(QObject *parent)
    : QObject(parent)
    , m_scheduler(std::make_unique<QtScheduler>())
    , m_preferencesStorage(
          std::make_unique<JsonFilePreferencesStorage>(JsonFilePreferencesStorage::defaultFilePath()))
    , m_preferences(std::make_unique<Preferences>(*m_preferencesStorage))
    , m_engine(std::make_unique<QQmlEngine>())
{
    provideToQml(*m_engine, m_preferences.get());
}

Application::~Application() = default;

void Application::start()
{
}

} // namespace talvo
