#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace talvo {

// One release in an update feed.
struct AppcastItem
{
    QString version;      // the build version compared with ours
    QString shortVersion; // what users read, may be empty
    QUrl pageUrl;         // where to get it: the item's link, release notes or enclosure
};

// The common RSS appcast format: <rss><channel><item>... with the version and
// short version string as elements or as attributes of <enclosure>, in any
// namespace. Items without a version are skipped. Nothing (and `error` set)
// when the XML is malformed or is not an RSS feed.
std::optional<QList<AppcastItem>> parseAppcast(const QByteArray &xml, QString *error);

// The item with the highest version, or nothing for a feed without items.
std::optional<AppcastItem> newestItem(const QList<AppcastItem> &items);

// Compares dotted versions component by component as numbers ("1.10" > "1.9",
// "2" == "2.0"); a component's leading digits count, the rest is ignored.
// Negative, zero or positive like strcmp.
int compareVersions(const QString &a, const QString &b);

} // namespace talvo
