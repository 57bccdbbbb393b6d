#include "FavoriteAppsModel.h"

#include "notch/NotchViewModel.h"
#include "platform/AppWindows.h"
#include "platform/ApplicationCatalog.h"
#include "platform/Log.h"
#include "platform/QmlInstances.h"

namespace talvo {

namespace {

QVariantMap application(const QString &path, const QString &name)
{
    return {{QStringLiteral("path"), path},
            {QStringLiteral("name"), name},
            {QStringLiteral("iconSource"), QStringLiteral("image://appicon/") + path}};
}

} // namespace

FavoriteAppsModel::FavoriteAppsModel(NotchViewModel &viewModel, ApplicationCatalog &catalog, AppWindowFactory &windows,
                                     QObject *parent)
    : QObject(parent), m_viewModel(viewModel), m_catalog(catalog), m_windows(windows)
{
    connect(&m_viewModel, &NotchViewModel::favoriteAppsChanged, this, &FavoriteAppsModel::tilesChanged);
}

FavoriteAppsModel::~FavoriteAppsModel() = default;

FavoriteAppsModel *FavoriteAppsModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<FavoriteAppsModel>(qmlEngine);
}

QVariantList FavoriteAppsModel::tiles() const
{
    QVariantList tiles;
    for (const QString &path : m_viewModel.favoriteApps())
        tiles.append(application(path, m_catalog.displayName(path)));
    return tiles;
}

bool FavoriteAppsModel::showsAddButton() const
{
    return m_viewModel.favoriteApps().size() < NotchViewModel::kMaxFavoriteApps;
}

void FavoriteAppsModel::launch(const QString &path)
{
    if (!m_viewModel.favoriteApps().contains(path))
        return;
    if (!m_catalog.launchEntry(path))
        qCWarning(lcDesktop).noquote() << QStringLiteral("The favourite %1 did not start").arg(path);
}

void FavoriteAppsModel::remove(const QString &path)
{
    m_viewModel.removeFavoriteApp(path);
}

void FavoriteAppsModel::addDropped(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".desktop")))
            m_viewModel.addFavoriteApp(url.toLocalFile());
    }
}

void FavoriteAppsModel::showChooser()
{
    if (!m_chooser) {
        m_chooserFilter.clear();
        m_chooser = m_windows.createApplicationChooserWindow();
        connect(m_chooser.get(), &AppWindow::closed, this, [this] {
            if (m_chooser)
                m_chooser.release()->deleteLater();
        });
        emit chooserApplicationsChanged();
    }
    m_chooser->present();
}

void FavoriteAppsModel::choose(const QString &path)
{
    m_viewModel.addFavoriteApp(path);
    closeChooser();
}

void FavoriteAppsModel::closeChooser()
{
    if (m_chooser)
        m_chooser->close();
}

QVariantList FavoriteAppsModel::chooserApplications() const
{
    QVariantList list;
    if (!m_chooser)
        return list;
    for (const ApplicationCatalog::Application &app : m_catalog.installedApplications()) {
        if (m_chooserFilter.isEmpty() || app.name.contains(m_chooserFilter, Qt::CaseInsensitive))
            list.append(application(app.entryPath, app.name));
    }
    return list;
}

void FavoriteAppsModel::setChooserFilter(const QString &filter)
{
    if (m_chooserFilter == filter)
        return;
    m_chooserFilter = filter;
    emit chooserApplicationsChanged();
}

} // namespace talvo
