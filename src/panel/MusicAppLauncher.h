#pragma once

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

#include <optional>

namespace talvo {

class ApplicationCatalog;
class FileOpener;

// The music card's two launch buttons: "music" opens the desktop's default
// application for audio files, "spotify" the installed Spotify (native,
// Flatpak or Snap entry) or, without one, its web player in the browser. An
// application that is not installed shows the button's fallback symbol.
//
// Main thread only. Which applications are installed is looked up when the
// buttons are first asked for (the music card's first showing, not start-up)
// and at each refresh(), not at every render.
class MusicAppLauncher : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // One entry per button, in order: {id, application (desktop file id or
    // empty), iconSource (an image:// address or empty), fallbackSymbol,
    // brandColor, accessibleName}.
    Q_PROPERTY(QVariantList buttons READ buttons NOTIFY buttonsChanged)
public:
    struct Button
    {
        QString id;
        QString application;
        QString fallbackSymbol;
        QColor brandColor;
        bool operator==(const Button &) const = default;
    };

    static const QStringList &spotifyDesktopIds();
    static const QStringList &audioContentTypes();
    static QUrl spotifyWebPlayer();

    MusicAppLauncher(ApplicationCatalog &catalog, FileOpener &opener, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static MusicAppLauncher *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QList<Button> buttonList() const { return resolved(); }
    QVariantList buttons() const;

    // Looks the applications up again (one may have been installed since).
    Q_INVOKABLE void refresh();
    // The button's action.
    Q_INVOKABLE void launch(const QString &buttonId);

signals:
    void buttonsChanged();

private:
    ApplicationCatalog &m_catalog;
    FileOpener &m_opener;
    const QList<Button> &resolved() const;
    QList<Button> lookUp() const;

    mutable std::optional<QList<Button>> m_buttons;
};

} // namespace talvo
