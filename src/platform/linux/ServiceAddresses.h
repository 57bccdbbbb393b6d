#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace talvo {

// Where the web services live. Each address is chosen at build time (CMake
// cache variables TALVO_FORECAST_URL and TALVO_GEOCODER_URL) and can be
// replaced at run time by the environment variable of the same name, for
// a mirror, a self-hosted instance or a test server.

// Scheme, host and optional path prefix of the forecast service.
QUrl forecastServiceBase();
// The same for the Nominatim-compatible reverse geocoder.
QUrl geocoderServiceBase();
// The update feed (an RSS appcast); empty when the build names none and the
// environment variable TALVO_UPDATE_FEED_URL is unset.
QUrl updateFeedUrl();
// Names the program (and its version) to services that ask who is calling.
QByteArray serviceUserAgent();

// The address in the environment variable `variable` when it is an http(s)
// address with a host; otherwise (with a log line when the variable is set
// but unusable) `buildDefault`.
QUrl serviceBase(const char *variable, const QString &buildDefault);

} // namespace talvo
