#pragma once

#include <QList>
#include <QString>

#include <optional>

// The rules that a layout file ("*.kb") must follow so that a learner meets no silent fault: each
// rule looks at the file as written and reports its findings with the line they stand on.

class TWindowMeasures;

struct TFinding {
    int Line = 0; // 1-based; the line a teacher has to change
    QString Message;
};
using TFindings = QList<TFinding>;

// One "key=value" line of a layout file.
struct TLayoutEntry {
    int Line = 0;
    QString Section;
    QString Key;
};

// A layout file as written: its bytes, its lines and where each key stands. Values are read with
// the program's own reader, so every rule sees what the program will see.
class TLayoutSource {
public:
    // Nothing when the file cannot be read.
    static std::optional<TLayoutSource> Read(const QString& fileName);

    QString FileName;
    QByteArray Bytes;
    QStringList Lines; // decoded as the program decodes them
    QList<TLayoutEntry> Entries;

    // The line of the first key of that name in the section(s) of that name; 0 when missing.
    int LineOf(const QString& section, const QString& key) const;
    // The line of the first section line of that name; 0 when missing.
    int SectionLine(const QString& section) const;
    // Whether the file has the key at all (also with an empty value).
    bool Has(const QString& section, const QString& key) const { return LineOf(section, key) > 0; }
    // A value as the program reads it, into the buffer the program uses for it.
    QString Value(const QString& section, const QString& key) const;
    // A value read whole, however long.
    QString WholeValue(const QString& section, const QString& key) const;
};

// Whether the bytes are valid UTF-8.
bool IsUtf8(const QByteArray& bytes);

// Each rule, apart. CheckLayout runs them all.
TFindings CheckEncoding(const TLayoutSource& source);
TFindings CheckSyntax(const TLayoutSource& source);
TFindings CheckRepeatedKeys(const TLayoutSource& source);
TFindings CheckValueLengths(const TLayoutSource& source);
TFindings CheckWindowTexts(const TLayoutSource& source);
// Pages without a title between pages with one.
TFindings CheckPageTitles(const TLayoutSource& source);
// One page (numbered from 1): its texts, its key group, its typing box, caret and correction.
TFindings CheckPage(const TLayoutSource& source, int number);
TFindings CheckKeyCoordinates(const TLayoutSource& source);
// The optional "Key positions": each value a key's rectangles and its name, every rectangle inside
// the picture, no two keys overlapping (value lengths are checked with all others).
TFindings CheckKeyPositions(const TLayoutSource& source);
TFindings CheckKeyDescriptions(const TLayoutSource& source);
TFindings CheckPicture(const TLayoutSource& source);
// The rules that measure texts in the real window: corrections that wrap in the typing box and
// button captions that run into their button's symbol or off the button.
TFindings CheckCorrectionWidths(const TLayoutSource& source, TWindowMeasures& measures);
TFindings CheckButtonCaptions(const TLayoutSource& source, TWindowMeasures& measures);

// Every rule, findings in line order.
TFindings CheckLayout(const TLayoutSource& source, TWindowMeasures& measures);

// "file:line: message", the form that editors jump to.
QString FormatFinding(const QString& fileName, const TFinding& finding);
