#pragma once

#include <QLoggingCategory>

namespace talvo {

// Every subsystem logs under a category of its own, "talvo.<subsystem>".
// Failures are warnings (qCWarning) and always show; chatter is debug
// (qCDebug) and shows only when asked for, e.g.
//   QT_LOGGING_RULES="talvo.calendar.debug=true"
// A line says what failed and why; tests expect it with
// QTest::ignoreMessage(QtWarningMsg, "<message without the category>").
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCalendar)
Q_DECLARE_LOGGING_CATEGORY(lcDBus)
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
Q_DECLARE_LOGGING_CATEGORY(lcDownloads)
Q_DECLARE_LOGGING_CATEGORY(lcFolders)
Q_DECLARE_LOGGING_CATEGORY(lcMicrophone)
Q_DECLARE_LOGGING_CATEGORY(lcNotch)
Q_DECLARE_LOGGING_CATEGORY(lcNowPlaying)
Q_DECLARE_LOGGING_CATEGORY(lcPreferences)
Q_DECLARE_LOGGING_CATEGORY(lcScreens)
Q_DECLARE_LOGGING_CATEGORY(lcShelf)
Q_DECLARE_LOGGING_CATEGORY(lcSound)
Q_DECLARE_LOGGING_CATEGORY(lcTray)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
Q_DECLARE_LOGGING_CATEGORY(lcUpdates)
Q_DECLARE_LOGGING_CATEGORY(lcWeather)
Q_DECLARE_LOGGING_CATEGORY(lcX11)

// Installs the process's message handler: our categories' messages become
// lines "talvo.<subsystem>: <message>" on standard output, and so do Qt's
// info messages; Qt's own warnings and errors go to standard error unchanged.
void installLogHandler();

} // namespace talvo
