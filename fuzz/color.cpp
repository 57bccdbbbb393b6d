// Colour texts: a calendar's colour (its COLOR property or a vdir "color"
// file) and the picked colours kept in the preferences.

#include "FuzzSupport.h"
#include "panel/ColorPickerModel.h"
#include "platform/linux/IcalCalendarFile.h"

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    const QColor calendar = IcalCalendarFile::parseColor(text);
    FUZZ_CHECK(!calendar.isValid() || calendar.spec() == QColor::Rgb || calendar.spec() == QColor::ExtendedRgb);

    const QColor picked = ColorPickerModel::parseHex(text);
    FUZZ_CHECK(picked.isValid());
    const QString hex = ColorPickerModel::hexOf(picked);
    FUZZ_CHECK(hex.size() == 7 && hex.startsWith(u'#'));
    FUZZ_CHECK(ColorPickerModel::hexOf(ColorPickerModel::parseHex(hex)) == hex);
    FUZZ_CHECK(ColorPickerModel::withPicked({text, hex}, hex).count(hex) == 1);
    return 0;
}
