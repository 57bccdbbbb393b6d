#include "PrefsCommand.h"

#include "preferences/Preferences.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace talvo {

namespace {

QString displayForm(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(value.toStringList())).toJson(QJsonDocument::Compact));
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toBase64());
    default: {
        const QJsonValue json = Preferences::toJson(value);
        if (json.isArray())
            return QString::fromUtf8(QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact));
        if (json.isObject())
            return QString::fromUtf8(QJsonDocument(json.toObject()).toJson(QJsonDocument::Compact));
        return json.toVariant().toString();
    }
    }
}

std::optional<bool> parseBool(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"true" || t == u"yes" || t == u"1")
        return true;
    if (t == u"false" || t == u"no" || t == u"0")
        return false;
    return std::nullopt;
}

int usage(QTextStream &err)
{
    err << "usage: talvo prefs list\n"
           "       talvo prefs get KEY\n"
           "       talvo prefs set [--bool|--text|--list|--data] KEY VALUE...\n"
           "       talvo prefs delete KEY\n";
    err.flush();
    return 2;
}

} // namespace

int runPrefsCommand(const QStringList &arguments, Preferences &preferences, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usage(err);
    const QString verb = arguments.first();
    QStringList rest = arguments.mid(1);

    if (verb == u"list" && rest.isEmpty()) {
        QStringList listed;
        for (const PreferenceKeyInfo &info : allPreferenceKeys()) {
            listed.append(info.name);
            if (preferences.contains(info.name))
                out << info.name << '\t' << displayForm(preferences.objectForKey(info.name)) << '\n';
            else if (info.defaultValue.isValid())
                out << info.name << '\t' << displayForm(info.defaultValue) << "\t(default)\n";
            else
                out << info.name << "\t\t(not set)\n";
        }
        QStringList others = preferences.keys();
        others.sort();
        for (const QString &key : std::as_const(others)) {
            if (!listed.contains(key))
                out << key << '\t' << displayForm(preferences.objectForKey(key)) << '\n';
        }
        out.flush();
        return 0;
    }

    if (verb == u"get" && rest.size() == 1) {
        const QString key = rest.first();
        if (preferences.contains(key)) {
            out << displayForm(preferences.objectForKey(key)) << '\n';
        } else if (const auto *info = preferenceKeyInfo(key); info && info->defaultValue.isValid()) {
            out << displayForm(info->defaultValue) << '\n';
        } else {
            err << "talvo prefs: " << key << " is not set\n";
            err.flush();
            return 1;
        }
        out.flush();
        return 0;
    }

    if (verb == u"delete" && rest.size() == 1) {
        return preferences.removeObjectForKey(rest.first()) ? 0 : 3;
    }

    if (verb == u"set" && rest.size() >= 2) {
        std::optional<PreferenceType> type;
        const QString option = rest.first();
        if (option.startsWith(u"--")) {
            if (option == u"--bool")
                type = PreferenceType::Bool;
            else if (option == u"--text")
                type = PreferenceType::Text;
            else if (option == u"--list")
                type = PreferenceType::TextList;
            else if (option == u"--data")
                type = PreferenceType::Data;
            else
                return usage(err);
            rest.removeFirst();
        }
        if (rest.isEmpty())
            return usage(err);
        const QString key = rest.takeFirst();
        if (!type) {
            const auto *info = preferenceKeyInfo(key);
            type = info ? info->type : PreferenceType::Text;
        }
        if (*type != PreferenceType::TextList && rest.size() != 1)
            return usage(err);
        switch (*type) {
        case PreferenceType::Bool: {
            const auto value = parseBool(rest.first());
            if (!value) {
                err << "talvo prefs: " << key << " takes true or false, not \"" << rest.first() << "\"\n";
                err.flush();
                return 2;
            }
            return preferences.setBool(*value, key) ? 0 : 3;
        }
        case PreferenceType::Text:
            return preferences.setObject(rest.first(), key) ? 0 : 3;
        case PreferenceType::TextList:
            return preferences.setObject(rest, key) ? 0 : 3;
        case PreferenceType::Data: {
            const auto decoded = QByteArray::fromBase64Encoding(rest.first().toLatin1(),
                                                                QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                err << "talvo prefs: " << key << " takes base64 data\n";
                err.flush();
                return 2;
            }
            return preferences.setObject(*decoded, key) ? 0 : 3;
        }
        }
    }

    return usage(err);
}

} // namespace talvo
