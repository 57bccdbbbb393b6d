#pragma once

#include <QString>
#include <QStringList>

class QLoggingCategory;
class QProcess;

namespace talvo {

// A talvo-helper process with `arguments`, ready to start: its error output
// goes to ours and a failure to start becomes a warning in `category`.
// The process has no parent; the caller connects what it needs, then starts it.
QProcess *newHelperProcess(const QString &program, const QStringList &arguments,
                           const QLoggingCategory &category);

} // namespace talvo
