#pragma once

#include "platform/FolderChooser.h"

#include <QList>

namespace talvo {

// Answers with `answer` (nothing: the user cancelled) and records each request.
class FakeFolderChooser final : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const FolderChooserRequest &request) override
    {
        requests.append(request);
        return answer;
    }
    std::optional<QString> downloadsFolder() const override { return downloads; }

    std::optional<QString> answer;
    std::optional<QString> downloads;
    QList<FolderChooserRequest> requests;
};

} // namespace talvo
