#pragma once

#include <QStringList>

class QTextStream;

namespace talvo {

class Preferences;

// `talvo prefs ...`: reads and writes the preferences from the command line.
//   prefs list                               every known key and every stored key
//   prefs get KEY                            the stored value, else the default
//   prefs set [--bool|--text|--list|--data] KEY VALUE...
//   prefs delete KEY
// Without a type option, a known key is written with its own type and any
// other key as text. --list takes every remaining argument as one element;
// --data takes base64. Values print as: true/false, the text itself, a JSON
// array for lists, base64 for data.
// Returns the process exit code: 0 on success, 1 for an absent key, 2 for a
// usage error, 3 when the store could not be written (the reason is logged).
int runPrefsCommand(const QStringList &arguments, Preferences &preferences, QTextStream &out, QTextStream &err);

} // namespace talvo
