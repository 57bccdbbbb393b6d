#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class Preferences;
class Screens;
class SettingsController;

// The first-run flow: which of its six pages shows, and the choices made on
// them. Every choice is stored at once, so the live notch follows it while
// the window is open; the theme and widget choices open the notch panel for a
// short preview. Only complete() marks the flow as done; close() leaves it to
// run again at the next start, from the first page, with the choices kept.
//
// Main thread only.
class OnboardingModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int currentPage READ currentPage NOTIFY currentPageChanged)
    Q_PROPERTY(bool goingForward READ goingForward NOTIFY currentPageChanged)
    Q_PROPERTY(int pageCount READ pageCount CONSTANT)
    Q_PROPERTY(bool hasPhysicalNotch READ hasPhysicalNotch NOTIFY hasPhysicalNotchChanged)
    Q_PROPERTY(QString recommendedShelfStyle READ recommendedShelfStyle NOTIFY hasPhysicalNotchChanged)
    Q_PROPERTY(QString shelfAlertText READ shelfAlertText NOTIFY hasPhysicalNotchChanged)
    Q_PROPERTY(bool showingShelfAlert READ showingShelfAlert NOTIFY shelfAlertChanged)
    Q_PROPERTY(QString pendingShelfSelection READ pendingShelfSelection NOTIFY shelfAlertChanged)
public:
    enum Page { Welcome, ShelfStyle, Display, Theme, Widgets, Integrations };
    Q_ENUM(Page)
    static constexpr int kPageCount = 6;

    struct Services
    {
        Preferences &preferences;
        Screens &screens;
        // Its notch preview (timing included) is shared with the settings window.
        SettingsController &settings;
        // The greeting the notch plays for the application icon.
        std::function<void()> greet;
    };

    explicit OnboardingModel(Services services, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static OnboardingModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // A new window: the welcome page, going forward, no alert.
    Q_INVOKABLE void windowOpened();

    int currentPage() const { return m_currentPage; }
    bool goingForward() const { return m_goingForward; }
    static int pageCount() { return kPageCount; }
    // One page on, up to the integrations page (it has no next page).
    Q_INVOKABLE void next();
    // One page back, down to the welcome page.
    Q_INVOKABLE void back();

    Q_INVOKABLE void greet();

    bool hasPhysicalNotch() const { return m_hasPhysicalNotch; }
    QString recommendedShelfStyle() const;
    QString shelfAlertText() const;
    bool showingShelfAlert() const { return m_showingShelfAlert; }
    QString pendingShelfSelection() const { return m_pendingShelfSelection; }
    // The recommended style or the stored one is stored at once; the other
    // asks first (showingShelfAlert). Other texts are ignored.
    Q_INVOKABLE void chooseShelfStyle(const QString &style);
    Q_INVOKABLE void confirmShelfChange();
    Q_INVOKABLE void cancelShelfChange();

    // "main" or "active"; other texts are ignored.
    Q_INVOKABLE void chooseTargetDisplay(const QString &display);
    Q_INVOKABLE void chooseGlassUI(bool glass);
    // Adds the widget (a fourth displaces the oldest) or removes it (never
    // below two), in order of selection, and previews the panel.
    Q_INVOKABLE void toggleWidget(const QString &id);

    // "Done": marks the flow as completed, then asks for the window to close.
    Q_INVOKABLE void complete();
    // The close control: the window goes, the flow shows again next time.
    Q_INVOKABLE void close();

signals:
    void currentPageChanged();
    void hasPhysicalNotchChanged();
    void shelfAlertChanged();
    // The window should close (the application delegate does it).
    void closeRequested();

private:
    void setPage(int page, bool forward);
    void preselectShelfStyle();
    void storeShelfStyle(const QString &style);
    void setShelfAlert(bool showing, const QString &pending);

    Services m_services;
    int m_currentPage = Welcome;
    bool m_goingForward = true;
    bool m_hasPhysicalNotch = false;
    bool m_showingShelfAlert = false;
    QString m_pendingShelfSelection;
};

} // namespace talvo
