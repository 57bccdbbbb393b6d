#include "SymbolTable.h"

#include "platform/Log.h"

#include <QSet>

#include <algorithm>
#include <array>

namespace talvo {

namespace {

struct Entry
{
    const char16_t *name;
    char16_t codepoint;
};

// Sorted by name (binary search). The comment names the Material glyph.
constexpr std::array kSymbols{
    Entry{u"app.fill", 0xe5c3},                      // apps
    Entry{u"arrow.triangle.2.circlepath", 0xe627},   // sync
    Entry{u"backward.end.fill", 0xe045},             // skip_previous
    Entry{u"battery.0", 0xebdc},                     // battery_0_bar
    Entry{u"battery.100", 0xe1a4},                   // battery_full
    Entry{u"battery.25", 0xebe0},                    // battery_2_bar
    Entry{u"battery.50", 0xebe2},                    // battery_4_bar
    Entry{u"battery.75", 0xebd4},                    // battery_5_bar
    Entry{u"calendar", 0xe935},                      // calendar_today
    Entry{u"calendar.badge.plus", 0xe742},           // edit_calendar
    Entry{u"capsule.fill", 0xef62},                  // panorama_wide_angle_select
    Entry{u"checkmark", 0xe5ca},                     // check
    Entry{u"checkmark.circle.fill", 0xe86c},         // check_circle
    Entry{u"chevron.left", 0xe5cb},                  // chevron_left
    Entry{u"chevron.right", 0xe5cc},                 // chevron_right
    Entry{u"circle.lefthalf.filled", 0xeb37},        // contrast
    Entry{u"clock", 0xe8b5},                         // schedule
    Entry{u"cloud.bolt.rain.fill", 0xebdb},          // thunderstorm
    Entry{u"cloud.fill", 0xe2bd},                    // cloud
    Entry{u"cloud.fog.fill", 0xe818},                // foggy
    Entry{u"cloud.heavyrain.fill", 0xe798},          // water_drop
    Entry{u"cloud.rain.fill", 0xf1ad},               // umbrella
    Entry{u"cloud.sun.fill", 0xe3dd},                // filter_drama
    Entry{u"cursorarrow.motionlines", 0xe323},       // mouse
    Entry{u"desktopcomputer", 0xe30c},               // desktop_windows
    Entry{u"display", 0xef5b},                       // monitor
    Entry{u"doc.fill", 0xe24d},                      // insert_drive_file
    Entry{u"doc.on.clipboard", 0xe14f},              // content_paste
    Entry{u"doc.on.doc.fill", 0xe14d},               // content_copy
    Entry{u"doc.text.fill", 0xe873},                 // description
    Entry{u"exclamationmark.triangle.fill", 0xe002}, // warning
    Entry{u"eyedropper", 0xe3b8},                    // colorize
    Entry{u"eyedropper.halffilled", 0xe3b8},         // colorize
    Entry{u"folder", 0xe2c8},                        // folder_open
    Entry{u"folder.badge.plus", 0xe2cc},             // create_new_folder
    Entry{u"folder.fill", 0xe2c7},                   // folder
    Entry{u"forward.end.fill", 0xe044},              // skip_next
    Entry{u"gearshape.fill", 0xe8b8},                // settings
    Entry{u"hand.grab", 0xe925},                     // pan_tool
    Entry{u"house.fill", 0xe88a},                    // home
    Entry{u"info.circle.fill", 0xe88e},              // info
    Entry{u"line.3.horizontal", 0xe5d2},             // menu
    Entry{u"link", 0xe157},                          // link
    Entry{u"lock.fill", 0xe897},                     // lock
    Entry{u"macwindow.badge.plus", 0xe05c},          // add_to_queue
    Entry{u"macwindow.on.rectangle", 0xe53b},        // layers
    Entry{u"mappin.and.ellipse", 0xe0c8},            // location_on
    Entry{u"menubar.rectangle", 0xe069},             // web_asset
    Entry{u"mic.fill", 0xe029},                      // mic
    Entry{u"mic.slash.fill", 0xe02b},                // mic_off
    Entry{u"moon.zzz.fill", 0xef44},                 // bedtime
    Entry{u"music.note", 0xe405},                    // music_note
    Entry{u"note.text", 0xf1fc},                     // sticky_note_2
    Entry{u"paintpalette.fill", 0xe40a},             // palette
    Entry{u"pause.fill", 0xe034},                    // pause
    Entry{u"pencil", 0xe3c9},                        // edit
    Entry{u"photo", 0xe3f4},                         // image
    Entry{u"photo.fill", 0xe3f4},                    // image
    Entry{u"play.fill", 0xe037},                     // play_arrow
    Entry{u"plus", 0xe145},                          // add
    Entry{u"plus.app.fill", 0xe146},                 // add_box
    Entry{u"plus.circle.fill", 0xe147},              // add_circle
    Entry{u"power", 0xe8ac},                         // power_settings_new
    Entry{u"power.circle.fill", 0xe8ac},             // power_settings_new
    Entry{u"rectangle.fill", 0xeb54},                // rectangle
    Entry{u"snow", 0xeb3b},                          // ac_unit
    Entry{u"square.and.pencil", 0xe745},             // edit_note
    Entry{u"square.dashed", 0xe3c2},                 // crop_free
    Entry{u"square.fill", 0xeb36},                   // square
    Entry{u"square.grid.2x2", 0xe9b0},               // grid_view
    Entry{u"sun.max.fill", 0xe430},                  // wb_sunny
    Entry{u"tag.fill", 0xf05b},                      // sell
    Entry{u"trash.fill", 0xe872},                    // delete
    Entry{u"tray.and.arrow.down", 0xe168},           // move_to_inbox
    Entry{u"tray.and.arrow.down.fill", 0xe168},      // move_to_inbox
    Entry{u"tray.fill", 0xe156},                     // inbox
    Entry{u"waveform", 0xe1b8},                      // graphic_eq
    Entry{u"xmark", 0xe5cd},                         // close
    Entry{u"xmark.circle.fill", 0xe5c9},             // cancel
};

QStringView nameOf(const Entry &entry)
{
    return QStringView(entry.name);
}

} // namespace

QString SymbolTable::fontFamily()
{
    return QStringLiteral("Material Icons");
}

std::optional<char16_t> SymbolTable::codepoint(QStringView name)
{
    const auto it = std::lower_bound(kSymbols.begin(), kSymbols.end(), name,
                                     [](const Entry &entry, QStringView key) { return nameOf(entry) < key; });
    if (it == kSymbols.end() || nameOf(*it) != name)
        return std::nullopt;
    return it->codepoint;
}

QStringList SymbolTable::names()
{
    QStringList result;
    result.reserve(qsizetype(kSymbols.size()));
    for (const Entry &entry : kSymbols)
        result.append(nameOf(entry).toString());
    return result;
}

QString SymbolTable::glyph(const QString &name)
{
    if (const auto point = codepoint(name))
        return QString(QChar(*point));
    // Bindings re-evaluate often; one line per unknown name is enough.
    static QSet<QString> reported;
    if (!name.isEmpty() && !reported.contains(name)) {
        reported.insert(name);
        qCWarning(lcUi).noquote() << QStringLiteral("unknown symbol name: %1").arg(name);
    }
    return {};
}

} // namespace talvo
