#pragma once

#include "KeyboardGeometry.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The legends printed on the keys for one language, read from a small text file:
//
//   # comment lines start with '#'
//   name US English
//   form ansi                      (or iso: which physical layout the legends belong to)
//   AE01 1 !                       key name, its main legend, then optionally the legend shown
//   AE07 7 / {                     above it (with Shift) and the legend shown at the bottom right
//   CAPS "Caps Lock"               (with AltGr)
//   PGUP "Page\nUp"
//   display RCTL "Right Ctrl"      (the key's name in the layout file's language, where its main
//                                  legend does not say it in words; else the main legend names it)
//
// Legends are separated by blanks; a legend holding blanks is put in double quotes ("" is an empty
// legend, as on the space bar). A backslash takes the next character literally, except that \n
// starts a new line. The legends <win> and <menu> stand for the Windows logo and the menu key's
// symbol. Every key of the chosen form must be given, and no other.
namespace kbpicgen {

struct Legend {
    QString main;  // the legend in the middle of the key, or at the bottom under `upper`
    QString upper; // the legend above `main` (the character typed with Shift), if any
    QString altGr; // the legend at the bottom right (the character typed with AltGr), if any

    bool operator==(const Legend&) const = default;
};

inline const QString WindowsLogo = QStringLiteral("<win>");
inline const QString MenuSymbol = QStringLiteral("<menu>");

struct LegendSet {
    QString name;
    Form form = Form::Ansi;
    QHash<QString, Legend> legends;       // by key name
    QHash<QString, QString> displayNames; // by key name, where a "display" line gives one

    Legend legend(const QString& keyName) const { return legends.value(keyName); }
    // The name a learner reads for the key: its "display" name, else its main legend on one line.
    QString displayName(const QString& keyName) const;
};

// Reads a legend set; on failure returns nothing and adds one message per fault to `errors`
// (prefixed with the line number where there is one).
std::optional<LegendSet> ParseLegends(const QString& text, QStringList& errors);
std::optional<LegendSet> LoadLegends(const QString& fileName, QStringList& errors);

} // namespace kbpicgen
