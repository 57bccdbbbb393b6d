#pragma once

#include "platform/ContentTypes.h"

#include <QHash>

namespace talvo {

// Content types from a small fixed table.
class FakeContentTypes final : public ContentTypes
{
public:
    QString iconNameForExtension(const QString &extension) const override
    {
        return icons.value(extension, genericDataIconName());
    }
    QString folderIconName() const override { return QStringLiteral("folder"); }
    QString genericDataIconName() const override { return QStringLiteral("application-octet-stream"); }

    QHash<QString, QString> icons{
        {QStringLiteral("pdf"), QStringLiteral("application-pdf")},
        {QStringLiteral("png"), QStringLiteral("image-png")},
        {QStringLiteral("txt"), QStringLiteral("text-plain")},
    };
};

} // namespace talvo
