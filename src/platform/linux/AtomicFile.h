#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace talvo {

// Replaces the file at `path` with `bytes` so that readers see either the old
// or the new content, never a mix. QSaveFile alone still renames after a short
// write (a full disk, a size limit); here every byte is checked first and the
// old file stays when anything fails. Creates the folder when asked.
// Nothing on success, else the error's description.
std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes, bool createFolder = true);

} // namespace talvo
