#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class AppWindow;
class AppWindowFactory;
class ApplicationCatalog;
class NotchViewModel;

// The shortcuts tab's "FAVORITE APPS": a tile per favourite desktop entry
// (name and icon from the entry; a missing entry keeps its tile), the "Add
// App" tile below six favourites, drops of desktop entries, and the chooser
// window listing the installed applications. The list itself, its limit and
// its duplicate rule are the view model's.
//
// Main thread only.
class FavoriteAppsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // One entry per favourite, in order: {path, name, iconSource}.
    Q_PROPERTY(QVariantList tiles READ tiles NOTIFY tilesChanged)
    Q_PROPERTY(bool showsAddButton READ showsAddButton NOTIFY tilesChanged)
    // The chooser's list, filtered by chooserFilter: {path, name, iconSource}.
    Q_PROPERTY(QVariantList chooserApplications READ chooserApplications NOTIFY chooserApplicationsChanged)
    Q_PROPERTY(QString chooserFilter READ chooserFilter WRITE setChooserFilter NOTIFY chooserApplicationsChanged)
public:
    FavoriteAppsModel(NotchViewModel &viewModel, ApplicationCatalog &catalog, AppWindowFactory &windows,
                      QObject *parent = nullptr);
    ~FavoriteAppsModel() override;

    // QML gets the instance the application built (see QmlInstances.h).
    static FavoriteAppsModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QVariantList tiles() const;
    bool showsAddButton() const;

    Q_INVOKABLE void launch(const QString &path);
    Q_INVOKABLE void remove(const QString &path);
    // A drop onto the area: each local ".desktop" file, in order, becomes a
    // favourite (up to the limit); anything else is ignored.
    Q_INVOKABLE void addDropped(const QList<QUrl> &urls);

    // The chooser window: opened (or raised), and the user's choice.
    Q_INVOKABLE void showChooser();
    Q_INVOKABLE void choose(const QString &path);
    Q_INVOKABLE void closeChooser();
    QVariantList chooserApplications() const;
    QString chooserFilter() const { return m_chooserFilter; }
    void setChooserFilter(const QString &filter);
    bool isChooserOpen() const { return m_chooser != nullptr; }

signals:
    void tilesChanged();
    void chooserApplicationsChanged();

private:
    NotchViewModel &m_viewModel;
    ApplicationCatalog &m_catalog;
    AppWindowFactory &m_windows;
    std::unique_ptr<AppWindow> m_chooser;
    QString m_chooserFilter;
};

} // namespace talvo
