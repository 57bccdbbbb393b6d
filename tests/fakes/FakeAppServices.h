#pragma once

#include "platform/AppWindows.h"

#include <QPointer>
#include <QStringList>

namespace talvo {

// Records what the application asks of its windows, tray and login item into
// one shared journal, so a test can check the order of start-up.
struct AppJournal
{
    QStringList entries;
    void add(const QString &entry) { entries.append(entry); }
};

class FakeAppWindow final : public AppWindow
{
    Q_OBJECT
public:
    FakeAppWindow(AppJournal &journal, QString name, std::function<void()> onClose = {})
        : m_journal(journal), m_name(std::move(name)), onClose(std::move(onClose))
    {
    }
    void present() override
    {
        ++presentCount;
        m_journal.add(m_name + QStringLiteral(".present"));
    }
    void close() override
    {
        m_journal.add(m_name + QStringLiteral(".close"));
        emit closed();
    }
    // The user closes the window from its frame.
    void closeByUser() { emit closed(); }

    int presentCount = 0;

private:
    AppJournal &m_journal;
    QString m_name;

public:
    std::function<void()> onClose;
};

class FakeAppWindowFactory final : public AppWindowFactory
{
public:
    explicit FakeAppWindowFactory(AppJournal &journal) : m_journal(journal) {}
    std::unique_ptr<AppWindow> createSettingsWindow() override
    {
        ++settingsCreated;
        auto window = std::make_unique<FakeAppWindow>(m_journal, QStringLiteral("settings"));
        lastSettings = window.get();
        return window;
    }
    std::unique_ptr<AppWindow> createOnboardingWindow(std::function<void()> onClose) override
    {
        ++onboardingCreated;
        auto window = std::make_unique<FakeAppWindow>(m_journal, QStringLiteral("onboarding"), std::move(onClose));
        lastOnboarding = window.get();
        return window;
    }
    std::unique_ptr<AppWindow> createApplicationChooserWindow() override
    {
        ++choosersCreated;
        return std::make_unique<FakeAppWindow>(m_journal, QStringLiteral("chooser"));
    }
    int settingsCreated = 0;
    int onboardingCreated = 0;
    int choosersCreated = 0;
    QPointer<FakeAppWindow> lastSettings;
    QPointer<FakeAppWindow> lastOnboarding;

private:
    AppJournal &m_journal;
};

class FakeStatusItemHost final : public StatusItemHost
{
public:
    explicit FakeStatusItemHost(AppJournal &journal) : m_journal(journal) {}

    struct Item final : StatusItem
    {
        Item(FakeStatusItemHost &host) : host(host) { ++host.liveItems; }
        ~Item() override { --host.liveItems; }
        FakeStatusItemHost &host;
    };

    std::unique_ptr<StatusItem> addStatusItem(const QString &symbolName, const QString &toolTip,
                                              std::function<void()> onActivate) override
    {
        m_journal.add(QStringLiteral("status.add"));
        lastSymbol = symbolName;
        lastToolTip = toolTip;
        activate = std::move(onActivate);
        return std::make_unique<Item>(*this);
    }

    int liveItems = 0;
    QString lastSymbol;
    QString lastToolTip;
    std::function<void()> activate;

private:
    AppJournal &m_journal;
};

class FakeLoginItemService final : public LoginItemService
{
public:
    explicit FakeLoginItemService(AppJournal &journal) : m_journal(journal) {}
    Status status() const override { return currentStatus; }
    std::optional<QString> registerItem() override
    {
        m_journal.add(QStringLiteral("login.register"));
        ++registerCount;
        if (failure)
            return failure;
        currentStatus = Status::Enabled;
        return std::nullopt;
    }
    std::optional<QString> unregisterItem() override
    {
        currentStatus = Status::NotRegistered;
        return std::nullopt;
    }
    Status currentStatus = Status::NotRegistered;
    std::optional<QString> failure;
    int registerCount = 0;

private:
    AppJournal &m_journal;
};

} // namespace talvo
