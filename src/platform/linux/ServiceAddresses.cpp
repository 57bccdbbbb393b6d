#include "ServiceAddresses.h"

#include "platform/Log.h"

namespace talvo {

namespace {

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

} // namespace

QUrl serviceBase(const char *variable, const QString &buildDefault)
{
    const QString configured = qEnvironmentVariable(variable).trimmed();
    if (!configured.isEmpty()) {
        const QUrl url(configured, QUrl::StrictMode);
        if (isWebAddress(url) && !url.hasQuery() && !url.hasFragment())
            return url;
        qCWarning(lcApp).noquote() << QStringLiteral("Ignoring %1, not an http(s) address: ")
                                          .arg(QLatin1String(variable)) + configured;
    }
    return QUrl(buildDefault);
}

QUrl forecastServiceBase()
{
    return serviceBase("TALVO_FORECAST_URL", QStringLiteral(TALVO_DEFAULT_FORECAST_URL));
}

QUrl geocoderServiceBase()
{
    return serviceBase("TALVO_GEOCODER_URL", QStringLiteral(TALVO_DEFAULT_GEOCODER_URL));
}

QUrl updateFeedUrl()
{
    return serviceBase("TALVO_UPDATE_FEED_URL", QStringLiteral(TALVO_DEFAULT_UPDATE_FEED_URL));
}

QByteArray serviceUserAgent()
{
    return QByteArrayLiteral("Talvo/" TALVO_VERSION_STRING " (Linux desktop; weather card)");
}

} // namespace talvo
