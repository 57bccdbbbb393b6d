#include "Appcast.h"

#include <QXmlStreamReader>

namespace talvo {

namespace {

qint64 leadingNumber(QStringView component)
{
    qsizetype digits = 0;
    while (digits < component.size() && component[digits].isDigit() && digits < 18)
        ++digits;
    return digits == 0 ? 0 : component.left(digits).toLongLong();
}

QUrl webUrl(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"https" || scheme == u"http") ? url : QUrl();
}

} // namespace

int compareVersions(const QString &a, const QString &b)
{
    const QStringList left = a.trimmed().split(QLatin1Char('.'));
    const QStringList right = b.trimmed().split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const qint64 l = i < left.size() ? leadingNumber(left[i]) : 0;
        const qint64 r = i < right.size() ? leadingNumber(right[i]) : 0;
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

std::optional<QList<AppcastItem>> parseAppcast(const QByteArray &xml, QString *error)
{
    QXmlStreamReader reader(xml);
    QList<AppcastItem> items;
    bool sawRss = false;
    bool inItem = false;
    AppcastItem current;
    QUrl link, notes, enclosure;

    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringView name = reader.name();
            if (name == u"rss") {
                sawRss = true;
            } else if (name == u"item") {
                inItem = true;
                current = {};
                link = notes = enclosure = QUrl();
            } else if (inItem && name == u"enclosure") {
                const auto attributes = reader.attributes();
                for (const auto &attribute : attributes) {
                    if (attribute.name() == u"version" && current.version.isEmpty())
                        current.version = attribute.value().toString().trimmed();
                    else if (attribute.name() == u"shortVersionString" && current.shortVersion.isEmpty())
                        current.shortVersion = attribute.value().toString().trimmed();
                    else if (attribute.name() == u"url")
                        enclosure = webUrl(attribute.value().toString());
                }
            } else if (inItem && name == u"version") {
                current.version = reader.readElementText().trimmed();
            } else if (inItem && name == u"shortVersionString") {
                current.shortVersion = reader.readElementText().trimmed();
            } else if (inItem && name == u"link") {
                link = webUrl(reader.readElementText());
            } else if (inItem && name == u"releaseNotesLink") {
                notes = webUrl(reader.readElementText());
            }
        } else if (reader.isEndElement() && reader.name() == u"item") {
            inItem = false;
            current.pageUrl = !link.isEmpty() ? link : !notes.isEmpty() ? notes : enclosure;
            if (!current.version.isEmpty())
                items.append(current);
        }
    }
    if (reader.hasError()) {
        if (error)
            *error = QStringLiteral("malformed feed at line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        return std::nullopt;
    }
    if (!sawRss) {
        if (error)
            *error = QStringLiteral("not an RSS feed");
        return std::nullopt;
    }
    return items;
}

std::optional<AppcastItem> newestItem(const QList<AppcastItem> &items)
{
    std::optional<AppcastItem> newest;
    for (const AppcastItem &item : items) {
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}

} // namespace talvo
