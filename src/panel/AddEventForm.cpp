#include "AddEventForm.h"

#include "notch/NotchViewModel.h"
#include "sources/NotchCalendarManager.h"
#include "ui/QmlScheduler.h"

namespace talvo {

QDateTime AddEventForm::defaultTime(const QDateTime &now)
{
    const QDateTime local = now.toLocalTime();
    const QTime clock = local.time();
    if (!local.isValid())
        return now;
    if (clock.minute() == 0)
        return local.addSecs(3600);
    // The start of the current hour, found on the wall clock (zones may be
    // offset by half hours), then the next one and one more.
    const QDateTime hourStart = local.addSecs(-(clock.minute() * 60 + clock.second())).addMSecs(-clock.msec());
    return hourStart.addSecs(2 * 3600);
}

QString AddEventForm::dayTextFor(const QDateTime &day, const QDateTime &now, const QLocale &locale)
{
    const QDate date = day.toLocalTime().date();
    const qint64 n = now.toLocalTime().date().daysTo(date);
    if (n == 0)
        return tr("Today");
    if (n == 1)
        return tr("Tomorrow");
    if (n == -1)
        return tr("Yesterday");
    if (std::abs(n) < 7)
        return locale.toString(date, QStringLiteral("dddd"));
    return locale.toString(date, tr("ddd, MMM d", "date format of a day a week or more away"));
}

bool AddEventForm::isValidTitle(const QString &title)
{
    return !title.trimmed().isEmpty();
}

AddEventForm::AddEventForm(QObject *parent) : QObject(parent) {}

AddEventForm::AddEventForm(Scheduler &scheduler, QObject *parent) : QObject(parent), m_scheduler(&scheduler) {}

AddEventForm::~AddEventForm()
{
    // A form that goes away with the panel no longer holds the notch open.
    if (m_isOpen && m_viewModel)
        m_viewModel->setIsForcedOpen(false);
}

void AddEventForm::componentComplete()
{
    if (!m_scheduler)
        m_scheduler = schedulerForQml(qmlEngine(this));
}

void AddEventForm::setCalendar(NotchCalendarManager *calendar)
{
    if (calendar == m_calendar)
        return;
    m_calendar = calendar;
    emit inputsChanged();
}

void AddEventForm::setViewModel(NotchViewModel *viewModel)
{
    if (viewModel == m_viewModel)
        return;
    m_viewModel = viewModel;
    emit inputsChanged();
}

QDateTime AddEventForm::now() const
{
    return m_scheduler ? m_scheduler->now() : QDateTime::currentDateTime();
}

void AddEventForm::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit fieldsChanged();
}

void AddEventForm::setTime(const QDateTime &time)
{
    if (time == m_time || !time.isValid())
        return;
    m_time = time;
    emit fieldsChanged();
}

QString AddEventForm::dayText() const
{
    return m_date.isValid() ? dayTextFor(m_date, now(), QLocale()) : QString();
}

void AddEventForm::setOpen(bool open)
{
    if (open == m_isOpen)
        return;
    m_isOpen = open;
    if (m_viewModel)
        m_viewModel->setIsForcedOpen(open);
    emit isOpenChanged();
}

void AddEventForm::open(const QDateTime &selectedDay)
{
    const QDateTime current = now();
    m_title.clear();
    m_time = defaultTime(current);
    m_date = selectedDay.isValid() ? selectedDay : current;
    emit fieldsChanged();
    setOpen(true);
}

void AddEventForm::cancel()
{
    setOpen(false);
}

void AddEventForm::stepDay(int days)
{
    const QDate day = m_date.toLocalTime().date().addDays(days);
    if (!day.isValid())
        return;
    m_date = day.startOfDay(Qt::LocalTime);
    emit fieldsChanged();
}

void AddEventForm::setClock(int hour, int minute)
{
    const QDateTime local = m_time.isValid() ? m_time.toLocalTime() : now();
    const QDateTime moved(local.date(), QTime((hour % 24 + 24) % 24, (minute % 60 + 60) % 60));
    setTime(moved);
}

void AddEventForm::stepHour(int hours)
{
    setClock(hour() + hours, minute());
}

void AddEventForm::stepMinute(int minutes)
{
    setClock(hour(), minute() + minutes);
}

bool AddEventForm::submit()
{
    if (!m_isOpen || !canSubmit())
        return false;
    const bool added = m_calendar && m_calendar->addEvent(m_title, m_date, m_time, kDurationMinutes);
    if (added)
        setOpen(false);
    if (m_viewModel) {
        if (added)
            m_viewModel->showToast(tr("Event added"), NotchViewModel::ToastStyle::Success);
        else
            m_viewModel->showToast(tr("Couldn't add event"), NotchViewModel::ToastStyle::Warning);
    }
    return added;
}

} // namespace talvo
