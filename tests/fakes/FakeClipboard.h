#pragma once

#include "platform/Clipboard.h"

#include <QList>
#include <QVariant>

namespace talvo {

// A clipboard in memory. copy*() play another program's copy; set*() record
// this program's writes. Reads of the content are counted, so a test can
// tell that an unchanged count costs nothing.
class FakeClipboard final : public Clipboard
{
public:
    qint64 changeCount() const override { return m_changeCount; }
    QImage image() const override
    {
        ++contentReads;
        return m_image;
    }
    std::optional<QString> string() const override
    {
        ++contentReads;
        return m_text;
    }
    bool isConcealed() const override { return m_concealed; }
    void setString(const QString &text) override
    {
        written.append(QVariant(text));
        replace(text, QImage());
    }
    void setImage(const QImage &image) override
    {
        written.append(QVariant(image));
        replace(std::nullopt, image);
    }

    void copyText(const QString &text) { replace(text, QImage()); }
    void copySecret(const QString &text)
    {
        replace(text, QImage());
        m_concealed = true;
    }
    void copyImage(const QImage &image, std::optional<QString> text = std::nullopt) { replace(std::move(text), image); }

    std::optional<QString> text() const { return m_text; }
    QImage currentImage() const { return m_image; }

    mutable int contentReads = 0;
    QList<QVariant> written;

private:
    void replace(std::optional<QString> text, const QImage &image)
    {
        m_text = std::move(text);
        m_image = image;
        m_concealed = false;
        ++m_changeCount;
    }

    qint64 m_changeCount = 7; // not zero: nothing may rely on starting there
    std::optional<QString> m_text;
    QImage m_image;
    bool m_concealed = false;
};

} // namespace talvo
