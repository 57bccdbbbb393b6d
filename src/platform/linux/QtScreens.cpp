#include "QtScreens.h"

#include "platform/Log.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

namespace talvo {

QtScreens::QtScreens(QObject *parent) : Screens(parent)
{
    m_housings = parseHousings(qEnvironmentVariable(kHousingVariable));
    connect(this, &Screens::screensChanged, this, [this] { m_cache.reset(); });
    auto *app = qGuiApp;
    if (!app)
        return;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        emit screensChanged();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &Screens::screensChanged);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &Screens::screensChanged);
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
}

void QtScreens::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &Screens::screensChanged);
}

QHash<QString, QSizeF> QtScreens::parseHousings(const QString &value)
{
    static const QRegularExpression entry(
        QStringLiteral(R"(^\s*(?:([^:\s]+)\s*:\s*)?(\d+(?:\.\d+)?)\s*x\s*(\d+(?:\.\d+)?)\s*$)"));
    QHash<QString, QSizeF> result;
    for (const QString &piece : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = entry.match(piece);
        const QSizeF size = match.hasMatch()
                                ? QSizeF(match.captured(2).toDouble(), match.captured(3).toDouble())
                                : QSizeF();
        if (size.isEmpty()) {
            qCWarning(lcScreens).noquote() << QStringLiteral("Ignoring camera housing \"%1\" in %2: expected "
                                                             "WIDTHxHEIGHT or OUTPUT:WIDTHxHEIGHT with both "
                                                             "sizes above 0")
                                                  .arg(piece.trimmed(), QLatin1String(kHousingVariable));
            continue;
        }
        result.insert(match.captured(1), size);
    }
    return result;
}

quint32 QtScreens::screenNumber(const QString &outputName)
{
    if (outputName.isEmpty())
        return 0;
    // FNV-1a: the same output name gives the same number in every run.
    quint32 hash = 2166136261u;
    for (char byte : outputName.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash;
}

ScreenInfo QtScreens::describe(const QScreen *screen, bool primary) const
{
    ScreenInfo info;
    info.name = screen->name();
    info.number = screenNumber(info.name);
    info.geometry = screen->geometry();
    auto housing = m_housings.constFind(info.name);
    if (housing == m_housings.cend() && primary)
        housing = m_housings.constFind(QString());
    if (housing != m_housings.cend())
        info = info.withCameraHousing(*housing);
    return info;
}

QList<ScreenInfo> QtScreens::screens() const
{
    if (m_cache)
        return *m_cache;
    QList<ScreenInfo> result;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        result.append(describe(primary, true));
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen != primary)
            result.append(describe(screen, false));
    }
    m_cache = result;
    return result;
}

std::optional<ScreenInfo> QtScreens::mainScreen() const
{
    const QList<ScreenInfo> all = screens();
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

} // namespace talvo
