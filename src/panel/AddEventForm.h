#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace talvo {

class NotchCalendarManager;
class NotchViewModel;
class Scheduler;

// The calendar card's form for a new one-hour event: its title, day and time,
// whether it is open, and adding the event. While the form is open the notch
// is held open (the view model's `isForcedOpen`), so the pointer can leave
// the panel while the user types.
//
//     AddEventForm { id: form; calendar: NotchCalendarManager; viewModel: NotchViewModel }
//     ... form.open(NotchCalendarManager.selectedDate) ... form.submit() ...
//
// Main thread only.
class AddEventForm : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_MOC_INCLUDE("notch/NotchViewModel.h")
    Q_MOC_INCLUDE("sources/NotchCalendarManager.h")
    Q_PROPERTY(talvo::NotchCalendarManager *calendar READ calendar WRITE setCalendar NOTIFY inputsChanged)
    Q_PROPERTY(talvo::NotchViewModel *viewModel READ viewModel WRITE setViewModel NOTIFY inputsChanged)

    Q_PROPERTY(bool isOpen READ isOpen NOTIFY isOpenChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY fieldsChanged)
    Q_PROPERTY(QDateTime date READ date NOTIFY fieldsChanged)
    Q_PROPERTY(QDateTime time READ time WRITE setTime NOTIFY fieldsChanged)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY fieldsChanged)
    Q_PROPERTY(QString dayText READ dayText NOTIFY fieldsChanged)
    Q_PROPERTY(int hour READ hour NOTIFY fieldsChanged)
    Q_PROPERTY(int minute READ minute NOTIFY fieldsChanged)

public:
    static constexpr int kDurationMinutes = 60;

    // The time a new form starts with: the next full hour (now itself when its
    // minute is already 0), plus one hour.
    static QDateTime defaultTime(const QDateTime &now);
    // "Today", "Tomorrow", "Yesterday", the weekday within a week, else the
    // short weekday, month and day.
    static QString dayTextFor(const QDateTime &day, const QDateTime &now, const QLocale &locale);
    static bool isValidTitle(const QString &title);

    explicit AddEventForm(QObject *parent = nullptr);
    // Tests give the clock; QML finds the application's scheduler.
    explicit AddEventForm(Scheduler &scheduler, QObject *parent = nullptr);
    ~AddEventForm() override;

    void classBegin() override {}
    void componentComplete() override;

    NotchCalendarManager *calendar() const { return m_calendar; }
    void setCalendar(NotchCalendarManager *calendar);
    NotchViewModel *viewModel() const { return m_viewModel; }
    void setViewModel(NotchViewModel *viewModel);

    bool isOpen() const { return m_isOpen; }
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QDateTime date() const { return m_date; }
    QDateTime time() const { return m_time; }
    void setTime(const QDateTime &time);
    bool canSubmit() const { return isValidTitle(m_title); }
    QString dayText() const;
    int hour() const { return m_time.toLocalTime().time().hour(); }
    int minute() const { return m_time.toLocalTime().time().minute(); }

    // Empties the title, starts at the default time on `selectedDay` and opens.
    Q_INVOKABLE void open(const QDateTime &selectedDay);
    Q_INVOKABLE void cancel();
    // Moves the day by `days`; nothing when the calendar cannot reach it.
    Q_INVOKABLE void stepDay(int days);
    // Moves the hour or the minute, wrapping within the day.
    Q_INVOKABLE void stepHour(int hours);
    Q_INVOKABLE void stepMinute(int minutes);
    // Adds the event when the title is valid: closes with "Event added", or
    // stays open with "Couldn't add event". True when it was added.
    Q_INVOKABLE bool submit();

signals:
    void inputsChanged();
    void isOpenChanged();
    void fieldsChanged();

private:
    QDateTime now() const;
    void setOpen(bool open);
    void setClock(int hour, int minute);

    Scheduler *m_scheduler = nullptr;
    QPointer<NotchCalendarManager> m_calendar;
    QPointer<NotchViewModel> m_viewModel;
    bool m_isOpen = false;
    QString m_title;
    QDateTime m_date;
    QDateTime m_time;
};

} // namespace talvo
