#include "FolderDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace talvo {

std::optional<QString> chooseFolderWithDialog(const FolderChooserRequest &request)
{
    QFileDialog dialog;
    // Neither the portal nor Qt's own dialog has room for a message of its
    // own; the title is what every variant shows.
    dialog.setWindowTitle(request.message);
    dialog.setLabelText(QFileDialog::Accept, request.prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!request.startDirectory.isEmpty())
        dialog.setDirectory(request.startDirectory);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return QFileInfo(chosen.first()).absoluteFilePath();
}

} // namespace talvo
