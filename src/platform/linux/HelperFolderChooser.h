#pragma once

#include "platform/FolderChooser.h"

#include <QObject>

#include <functional>

namespace talvo {

// The folder dialog, shown by the helper program (talvo-helper choose-folder)
// so that Talvo itself never loads Qt Widgets.
class HelperFolderChooser final : public FolderChooser
{
public:
    explicit HelperFolderChooser(QString helperProgram) : m_helperProgram(std::move(helperProgram)) {}

    // Waits for the user in a nested event loop.
    std::optional<QString> chooseFolder(const FolderChooserRequest &request) override;
    // Returns at once; `done` gets the folder (nothing when cancelled or when
    // the helper failed, which is logged), unless `context` is gone by then.
    void chooseFolderLater(const FolderChooserRequest &request, const QObject *context,
                           std::function<void(std::optional<QString>)> done);
    // The XDG download directory, when it exists.
    std::optional<QString> downloadsFolder() const override;

private:
    QString m_helperProgram;
};

} // namespace talvo
