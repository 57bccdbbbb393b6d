// The hex-code functions of the colour picker, on their own so that they can
// be used without the model's services.

#include "ColorPickerModel.h"

#include <cmath>

namespace talvo {

QColor ColorPickerModel::parseHex(const QString &hex)
{
    qsizetype begin = 0;
    qsizetype end = hex.size();
    while (begin < end && !hex.at(begin).isLetterOrNumber())
        ++begin;
    while (end > begin && !hex.at(end - 1).isLetterOrNumber())
        --end;
    const QString digits = hex.mid(begin, end - begin);
    bool ok = false;
    quint64 value = digits.size() <= 16 ? digits.toULongLong(&ok, 16) : 0;
    if (!ok)
        value = 0;
    switch (digits.size()) {
    case 3:
        return QColor::fromRgb(int((value >> 8) & 0xF) * 17, int((value >> 4) & 0xF) * 17, int(value & 0xF) * 17);
    case 6:
        return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
    case 8:
        return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF),
                               int((value >> 24) & 0xFF));
    default:
        return QColor::fromRgb(0, 0, 0);
    }
}

QString ColorPickerModel::hexOf(const QColor &color)
{
    const QColor rgb = color.toRgb();
    const auto component = [](float value) { return qBound(0, int(std::lround(value * 255)), 255); };
    return QStringLiteral("#%1%2%3")
        .arg(component(rgb.redF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.greenF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.blueF()), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QStringList ColorPickerModel::withPicked(QStringList list, const QString &hex)
{
    list.removeAll(hex);
    list.prepend(hex);
    // A list edited elsewhere may be longer; it never grows past the limit.
    if (list.size() > kMaxColors)
        list.resize(kMaxColors);
    return list;
}

} // namespace talvo
