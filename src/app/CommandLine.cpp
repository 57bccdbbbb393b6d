#include "CommandLine.h"

#include "platform/ControlClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace talvo {

namespace {

const QStringList kVerbs = {QStringLiteral("open"),     QStringLiteral("collapse"), QStringLiteral("add"),
                            QStringLiteral("settings"), QStringLiteral("status"),   QStringLiteral("quit")};

QString readable(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant &element : value.toList())
            parts.append(element.toString());
        return parts.join(QStringLiteral(" "));
    }
    if (value.typeId() == QMetaType::QStringList) {
        const QStringList list = value.toStringList();
        return list.isEmpty() ? QStringLiteral("(none)") : QStringLiteral("\n  ") + list.join(QStringLiteral("\n  "));
    }
    return value.toString();
}

} // namespace

bool CommandLine::handles(const QString &argument)
{
    return kVerbs.contains(argument) || argument == u"--help" || argument == u"-h" || argument == u"--version"
        || argument == u"help";
}

QString CommandLine::usageText()
{
    return QStringLiteral(
        "usage: talvo                       start Talvo (or bring up the running one's settings)\n"
        "       talvo open [home|tray|shortcuts]\n"
        "                                   open the notch on a tab (home when none is given)\n"
        "       talvo collapse              close the open notch\n"
        "       talvo add PATH...           put files or folders on the shelf\n"
        "       talvo add --text TEXT       put a text on the shelf ('-' reads standard input)\n"
        "       talvo settings [home|general|widgets|about]\n"
        "                                   open the settings window\n"
        "       talvo status [--json]       show the notch's state\n"
        "       talvo quit                  quit the running Talvo\n"
        "       talvo prefs ...             read and write preferences (talvo prefs for help)\n"
        "       talvo --version | --help\n");
}

int CommandLine::run(const QStringList &arguments)
{
    const QString verb = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    const auto usage = [this](const QString &problem) {
        err << "talvo: " << problem << "\n" << usageText();
        return 2;
    };

    if (verb == u"--help" || verb == u"-h" || verb == u"help") {
        out << usageText();
        return 0;
    }
    if (verb == u"--version") {
        out << "talvo " << QCoreApplication::applicationVersion() << "\n";
        return 0;
    }

    QString method;
    QVariantList callArguments;
    bool json = false;
    if (verb == u"open") {
        if (rest.size() > 1)
            return usage(QStringLiteral("open takes one tab"));
        method = QStringLiteral("Open");
        callArguments = {rest.isEmpty() ? QStringLiteral("home") : rest.first()};
    } else if (verb == u"collapse" || verb == u"quit") {
        if (!rest.isEmpty())
            return usage(QStringLiteral("%1 takes no arguments").arg(verb));
        method = verb == u"quit" ? QStringLiteral("Quit") : QStringLiteral("Collapse");
    } else if (verb == u"add") {
        if (rest.value(0) == u"--text") {
            if (rest.size() != 2)
                return usage(QStringLiteral("add --text takes one text, or - for standard input"));
            method = QStringLiteral("AddText");
            callArguments = {rest.at(1) == u"-" ? readInput() : rest.at(1)};
        } else {
            if (rest.isEmpty())
                return usage(QStringLiteral("add needs at least one path"));
            QStringList paths;
            const QDir base(workingFolder);
            for (const QString &path : rest)
                paths.append(QDir::cleanPath(base.absoluteFilePath(path)));
            method = QStringLiteral("AddPaths");
            callArguments = {paths};
        }
    } else if (verb == u"settings") {
        if (rest.size() > 1)
            return usage(QStringLiteral("settings takes one page"));
        method = QStringLiteral("ShowSettings");
        callArguments = {rest.value(0)};
    } else if (verb == u"status") {
        if (rest.size() > 1 || (rest.size() == 1 && rest.first() != u"--json"))
            return usage(QStringLiteral("status takes only --json"));
        json = !rest.isEmpty();
    } else {
        return usage(QStringLiteral("unknown command \"%1\"").arg(verb));
    }

    if (!client.isRunning()) {
        err << "talvo: Talvo is not running\n";
        return 1;
    }
    if (method.isEmpty()) {
        const PlatformResult<QVariantMap> state = client.state();
        if (!state.succeeded()) {
            err << "talvo: " << state.error << "\n";
            return 1;
        }
        if (json) {
            out << QJsonDocument(QJsonObject::fromVariantMap(*state.value)).toJson(QJsonDocument::Indented);
        } else {
            for (auto it = state.value->cbegin(); it != state.value->cend(); ++it)
                out << it.key() << ": " << readable(it.value()) << "\n";
        }
        return 0;
    }
    const PlatformResult<> result = client.call(method, callArguments);
    if (!result.succeeded()) {
        err << "talvo: " << result.error << "\n";
        return 1;
    }
    return 0;
}

} // namespace talvo
