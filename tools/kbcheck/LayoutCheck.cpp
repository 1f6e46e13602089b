#include "LayoutCheck.h"

#include "IniFile.h"
#include "KeyMap.h"
#include "KeyPositions.h"
#include "KeyboardPicture.h"
#include "LayoutFile.h"
#include "TypingText.h"
#include "WindowMeasures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <climits>

namespace {

const QString Messages = QStringLiteral("Messages");
const QString Buttons = QStringLiteral("Buttons");
const QString Bitmap = QStringLiteral("Bitmap");
const QString KeyCoordinates = QStringLiteral("Key co-ordinates");
const QString KeyDescriptions = QStringLiteral("Key descriptions");

// A line of a layout file, as the program's reader takes it.
struct TLine {
    enum TKind { Ignored, Section, UnclosedSection, Entry, NotKeyValue } Kind = Ignored;
    QString Name; // the section's name or the key
};

TLine Classify(const QString& rawLine) {
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
        return {};
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
        const bool closed = close >= 0 && close == line.size() - 1 && !name.isEmpty();
        return {closed ? TLine::Section : TLine::UnclosedSection, name};
    }
    const qsizetype eq = line.indexOf(u'=');
    const QString key = eq < 0 ? QString() : line.left(eq).trimmed();
    return {key.isEmpty() ? TLine::NotKeyValue : TLine::Entry, key};
}

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Quote(const QString& text) {
    return u'"' + text + u'"';
}

int CharacterCount(const QString& text) {
    return int(text.toUcs4().size());
}

bool IsPlainNumber(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

// The first line of the file that is neither blank nor a comment, for findings about something
// the file lacks.
int FallbackLine(const TLayoutSource& source, const QString& section) {
    if (const int line = source.SectionLine(section))
        return line;
    return source.Entries.isEmpty() ? 1 : source.Entries.first().Line;
}

// What a page of the layout file holds, as the page loader reads it.
class TPage {
public:
    TPage(const TLayoutSource& source, int number)
        : Source(source)
        , Number(number) {}

    QString Key(const QString& stem) const { return PageKey(stem, Number); }
    QString Text(const QString& stem) const { return Source.Value(ExplanationTexts, Key(stem)); }
    int Line(const QString& stem) const { return Source.LineOf(ExplanationTexts, Key(stem)); }
    bool Has(const QString& stem) const { return Line(stem) > 0; }
    bool HasTitle() const { return !Text(QStringLiteral("title")).isEmpty(); }
    TypingMode Mode() const { return TypingModeOf(Text(QStringLiteral("line1"))); }

    // The first of these keys that the page has, else the line of its title or the fallback.
    int LineOfFirst(std::initializer_list<const char*> stems) const {
        for (const char* stem : stems)
            if (const int line = Line(QLatin1String(stem)))
                return line;
        return FallbackLine(Source, ExplanationTexts);
    }

    // The typing box's text as the page loads it (not for hidden pages).
    QString StartingText() const {
        if (Mode() == TypingMode::NumberedLines)
            return NumberedLines(ReadLayoutText(
                Source.FileName, Messages, QStringLiteral("thisisline"),
                QStringLiteral("This is line number "), NumberedLinesPrefixBufferSize));
        return ExerciseText(Text(QStringLiteral("line1")), Text(QStringLiteral("line2")));
    }

    const TLayoutSource& Source;
    const int Number;
};

QString PageName(int number) {
    return QStringLiteral("page %1").arg(number);
}

TFindings CaretFindings(const TPage& page) {
    const QString stem = QStringLiteral("caret");
    if (!page.Has(stem))
        return {};
    const int line = page.Line(stem);
    const QString raw = page.Source.WholeValue(ExplanationTexts, page.Key(stem));
    if (!IsPlainNumber(raw))
        return {{line, QStringLiteral("%1 is not a plain number of characters: %2")
                           .arg(page.Key(stem), Quote(raw))}};
    const int caret = ReadProfileInt(ExplanationTexts, page.Key(stem), 0, page.Source.FileName);
    const QString text = page.StartingText();
    const int length = PositionToCaretOffset(text, int(text.size()));
    if (caret > length)
        return {{line, QStringLiteral("%1 is %2, beyond the end of the %3 characters that %4 "
                                      "starts with (a line break counts two)")
                           .arg(page.Key(stem))
                           .arg(caret)
                           .arg(length)
                           .arg(PageName(page.Number))}};
    if (PositionToCaretOffset(text, CaretOffsetToPosition(text, caret)) != caret)
        return {{line, QStringLiteral("%1 is %2, inside a line break (which counts two "
                                      "characters): the caret cannot stand there")
                           .arg(page.Key(stem))
                           .arg(caret)}};
    return {};
}

TFindings CorrectionFindings(const TPage& page) {
    const QString correction = page.Text(QStringLiteral("correction"));
    const int line = page.Line(QStringLiteral("correction"));
    if (page.Mode() == TypingMode::Hidden) {
        if (correction.isEmpty())
            return {};
        return {{line, QStringLiteral("%1 hides the typing box, so the learner cannot see the text "
                                      "that its correction is checked against")
                           .arg(PageName(page.Number))}};
    }
    const QString text = page.StartingText();
    if (correction.isEmpty()) {
        if (page.Mode() != TypingMode::Exercise || !text.isEmpty())
            return {}; // practice on the given text, with no check
        return {{page.LineOfFirst({"correction", "line1", "task", "title"}),
                 QStringLiteral("%1 gives an empty typing box for an exercise but no correction: "
                                "the exercise can never be completed")
                     .arg(PageName(page.Number))}};
    }
    if (correction == text.section(u'\n', 0, 0))
        return {{line, QStringLiteral("the correction already equals the first line that %1 "
                                      "starts with: the congratulations open as the page loads")
                           .arg(PageName(page.Number))}};
    return {};
}

TFindings ImageFindings(const TPage& page) {
    const QString image = page.Text(QStringLiteral("image"));
    if (image.isEmpty())
        return {};
    const int line = page.Line(QStringLiteral("image"));
    if (KeyGroupIndex(image) >= 0) {
        if (!page.Source.Value(KeyCoordinates, image).isEmpty())
            return {};
        return {{line, QStringLiteral("%1 shows the key group %2, which has no co-ordinates: "
                                      "nothing lights up")
                           .arg(PageName(page.Number), Quote(image))}};
    }
    const auto same = std::find_if(KeyGroupNames.begin(), KeyGroupNames.end(),
                                   [&](QLatin1String name) { return Same(name, image); });
    if (same != KeyGroupNames.end())
        return {{line, QStringLiteral("%1 differs from the key group %2 in case: the picture "
                                      "lights up nothing")
                           .arg(Quote(image), Quote(*same))}};
    return {{line, QStringLiteral("%1 names no key group").arg(Quote(image))}};
}

// A number of a co-ordinates value that the program cannot convert, if any.
std::optional<QString> InvalidNumber(const QStringList& numbers) {
    for (const QString& number : numbers) {
        try {
            StrToInt(number);
        } catch (const EConvertError&) {
            return number;
        }
    }
    return std::nullopt;
}

QString RectText(const TKeyRect& rect) {
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(rect.Left)
        .arg(rect.Top)
        .arg(rect.Right)
        .arg(rect.Bottom);
}

// A rectangle of the picture that lies outside it or is empty; `what` names its owner.
TFindings RectFindings(const TKeyRect& rect, const QString& what, int line) {
    if (rect.Left < 0 || rect.Top < 0 || rect.Right > ReferenceWidth ||
        rect.Bottom > ReferenceHeight)
        return {{line, QStringLiteral("the rectangle %1 of %2 lies outside the picture of %3 x %4 "
                                      "units")
                           .arg(RectText(rect), what)
                           .arg(ReferenceWidth)
                           .arg(ReferenceHeight)}};
    if (rect.Left >= rect.Right || rect.Top >= rect.Bottom)
        return {{line, QStringLiteral("the rectangle %1 of %2 is empty: its right and bottom must "
                                      "lie beyond its left and top")
                           .arg(RectText(rect), what)}};
    return {};
}

bool Overlap(const TKeyRect& a, const TKeyRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TFindings CoordinateFindings(const TLayoutSource& source, const QString& group, int line) {
    const QString value = source.Value(KeyCoordinates, group);
    if (value.isEmpty())
        return {};
    if (!value.startsWith(u','))
        return {{line, QStringLiteral("the co-ordinates of %1 do not start with a comma, so the "
                                      "program finds no rectangle in them")
                           .arg(Quote(group))}};
    const QStringList numbers = value.mid(1).split(u',');
    if (const auto invalid = InvalidNumber(numbers))
        return {{line, QStringLiteral("%1 in the co-ordinates of %2 is not an integer: the "
                                      "program shows an error when it draws the picture")
                           .arg(Quote(*invalid), Quote(group))}};
    if (numbers.size() % 4 != 0)
        return {{line, QStringLiteral("the co-ordinates of %1 hold %2 numbers, not a multiple of "
                                      "four (left, top, right, bottom of each rectangle)")
                           .arg(Quote(group))
                           .arg(numbers.size())}};
    TFindings findings;
    for (const TKeyRect& rect : ParseKeyRects(value))
        findings += RectFindings(rect, Quote(group), line);
    return findings;
}

bool ReactsOnSomePage(int group) {
    return ReactsOnPage(group, 1) || ReactsOnPage(group, 2);
}

QString DescriptionKey(int group) {
    return QStringLiteral("descr-") + KeyGroupNames[group];
}

} // namespace

std::optional<TLayoutSource> TLayoutSource::Read(const QString& fileName) {
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    TLayoutSource source;
    source.FileName = fileName;
    source.Bytes = file.readAll();
    source.Lines = DecodeProfileText(source.Bytes).split(u'\n');
    QString section;
    for (qsizetype i = 0; i < source.Lines.size(); ++i) {
        const TLine line = Classify(source.Lines[i]);
        if (line.Kind == TLine::Section || line.Kind == TLine::UnclosedSection)
            section = line.Name;
        else if (line.Kind == TLine::Entry && !section.isEmpty())
            source.Entries.append({int(i + 1), section, line.Name});
    }
    return source;
}

int TLayoutSource::LineOf(const QString& section, const QString& key) const {
    for (const TLayoutEntry& entry : Entries)
        if (Same(entry.Section, section) && Same(entry.Key, key))
            return entry.Line;
    return 0;
}

int TLayoutSource::SectionLine(const QString& section) const {
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        const TLine line = Classify(Lines[i]);
        if (line.Kind == TLine::Section && Same(line.Name, section))
            return int(i + 1);
    }
    return 0;
}

QString TLayoutSource::Value(const QString& section, const QString& key) const {
    return ReadLayoutText(FileName, section, key, QString(), LayoutValueBufferSize(section, key));
}

QString TLayoutSource::WholeValue(const QString& section, const QString& key) const {
    return ReadLayoutText(FileName, section, key, QString(), INT_MAX);
}

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes); // the decoder decodes when its result is taken
    return !utf8.hasError();
}

TFindings CheckEncoding(const TLayoutSource& source) {
    if (IsUtf8(source.Bytes))
        return {};
    // Windows-1252 leaves five bytes without a character.
    static const QByteArray undefined("\x81\x8D\x8F\x90\x9D");
    for (qsizetype i = 0; i < source.Bytes.size(); ++i) {
        if (undefined.contains(source.Bytes[i]))
            return {{int(source.Bytes.left(i).count('\n')) + 1,
                     QStringLiteral("the file is neither UTF-8 nor Windows-1252: byte 0x%1 is no "
                                    "character in either; save the file as UTF-8")
                         .arg(QString::number(quint8(source.Bytes[i]), 16).toUpper())}};
    }
    return {};
}

TFindings CheckSyntax(const TLayoutSource& source) {
    TFindings findings;
    bool inSection = false;
    for (qsizetype i = 0; i < source.Lines.size(); ++i) {
        const int number = int(i + 1);
        switch (const TLine line = Classify(source.Lines[i]); line.Kind) {
        case TLine::Section:
            inSection = true;
            break;
        case TLine::UnclosedSection:
            inSection = true;
            findings.append({number, QStringLiteral("a section line is a name in square "
                                                    "brackets, such as [Messages]")});
            break;
        case TLine::NotKeyValue:
            findings.append({number, QStringLiteral("neither a section line nor key=value: the "
                                                    "program ignores this line")});
            break;
        case TLine::Entry:
            if (!inSection)
                findings.append({number, QStringLiteral("%1 stands before the first section: the "
                                                        "program never reads it")
                                             .arg(line.Name)});
            break;
        case TLine::Ignored:
            break;
        }
    }
    return findings;
}

TFindings CheckRepeatedKeys(const TLayoutSource& source) {
    TFindings findings;
    QHash<QString, int> seen;
    for (const TLayoutEntry& entry : source.Entries) {
        const QString id = entry.Section.toLower() + u'\n' + entry.Key.toLower();
        if (const int first = seen.value(id))
            findings.append({entry.Line, QStringLiteral("[%1] %2 is given again (first on line "
                                                        "%3): the program reads only the first")
                                             .arg(entry.Section, entry.Key)
                                             .arg(first)});
        else
            seen.insert(id, entry.Line);
    }
    return findings;
}

TFindings CheckValueLengths(const TLayoutSource& source) {
    TFindings findings;
    for (const TLayoutEntry& entry : source.Entries) {
        const QString whole = source.WholeValue(entry.Section, entry.Key);
        if (source.Value(entry.Section, entry.Key) == whole)
            continue;
        findings.append(
            {entry.Line, QStringLiteral("[%1] %2 has %3 characters: the program cuts it to %4")
                             .arg(entry.Section, entry.Key)
                             .arg(CharacterCount(whole))
                             .arg(LayoutValueBufferSize(entry.Section, entry.Key) - 1)});
    }
    return findings;
}

TFindings CheckWindowTexts(const TLayoutSource& source) {
    static const std::pair<const char*, const char*> required[] = {
        {"Messages", "continue"},  {"Messages", "congrats0"},  {"Messages", "congrats1"},
        {"Messages", "congrats2"}, {"Messages", "thisisline"}, {"Messages", "layout"},
        {"Buttons", "Back"},       {"Buttons", "Next"},        {"Buttons", "Exit"},
        {"Buttons", "OK"},         {"Hints", "prev"},          {"Hints", "next"},
        {"Hints", "exit"},         {"Hints", "layout"},        {"Hints", "about"},
        {"Menus", "layout"},       {"Menus", "about"},         {"Bitmap", "bitmap"}};
    TFindings findings;
    for (const auto& [section, key] : required) {
        if (!source.Value(QLatin1String(section), QLatin1String(key)).isEmpty())
            continue;
        const int line = source.LineOf(QLatin1String(section), QLatin1String(key));
        findings.append({line ? line : FallbackLine(source, QLatin1String(section)),
                         QStringLiteral("[%1] %2 is missing or empty: the program shows its "
                                        "English default or nothing")
                             .arg(QLatin1String(section), QLatin1String(key))});
    }
    const QString prefix = source.Value(Messages, QStringLiteral("thisisline"));
    if (!prefix.isEmpty() && !prefix.endsWith(u' '))
        findings.append({source.LineOf(Messages, QStringLiteral("thisisline")),
                         QStringLiteral("[Messages] thisisline must end in a blank, in double "
                                        "quotes: the line's number follows it directly")});
    return findings;
}

TFindings CheckPageTitles(const TLayoutSource& source) {
    std::vector<int> titled;
    for (int number = 1; number <= LastPage; ++number)
        if (TPage(source, number).HasTitle())
            titled.push_back(number);
    TFindings findings;
    for (size_t i = 1; i < titled.size(); ++i) {
        for (int number = titled[i - 1] + 1; number < titled[i]; ++number)
            findings.append(
                {TPage(source, number)
                     .LineOfFirst({"title", "explanation", "image", "task", "line1", "line2",
                                   "caret", "correction"}),
                 QStringLiteral("%1 has no title, so the program skips it between pages %2 and %3")
                     .arg(PageName(number))
                     .arg(titled[i - 1])
                     .arg(titled[i])});
    }
    return findings;
}

TFindings CheckPage(const TLayoutSource& source, int number) {
    const TPage page(source, number);
    if (!page.HasTitle())
        return {};
    TFindings findings;
    for (const char* stem : {"explanation", "task"})
        if (page.Text(QLatin1String(stem)).isEmpty())
            findings.append({page.LineOfFirst({stem, "title"}),
                             QStringLiteral("%1 has a title but no %2")
                                 .arg(PageName(number), QLatin1String(stem))});
    findings += ImageFindings(page);
    if (page.Mode() == TypingMode::NumberedLines && page.Has(QStringLiteral("line2")))
        findings.append({page.Line(QStringLiteral("line2")),
                         QStringLiteral("%1 shows numbered lines, which take no second line: %2 "
                                        "is never read")
                             .arg(PageName(number), page.Key(QStringLiteral("line2")))});
    if (page.Mode() != TypingMode::Hidden)
        findings += CaretFindings(page);
    findings += CorrectionFindings(page);
    return findings;
}

TFindings CheckKeyCoordinates(const TLayoutSource& source) {
    TFindings findings;
    for (const TLayoutEntry& entry : source.Entries) {
        if (!Same(entry.Section, KeyCoordinates) ||
            source.LineOf(entry.Section, entry.Key) != entry.Line)
            continue;
        if (KeyGroupIndex(entry.Key) < 0)
            findings.append({entry.Line, QStringLiteral("%1 is no key group name: the program "
                                                        "never reads it")
                                             .arg(entry.Key)});
        else
            findings += CoordinateFindings(source, entry.Key, entry.Line);
    }
    return findings;
}

TFindings CheckKeyPositions(const TLayoutSource& source) {
    TFindings findings;
    struct TPlaced {
        QString Key;
        std::vector<TKeyRect> Rects;
    };
    QList<TPlaced> placed;
    for (const TLayoutEntry& entry : source.Entries) {
        if (!Same(entry.Section, KeyPositionsSection) ||
            source.LineOf(entry.Section, entry.Key) != entry.Line)
            continue;
        const auto position = ParseKeyPosition(source.Value(entry.Section, entry.Key));
        if (!position || position->Name.trimmed().isEmpty()) {
            findings.append({entry.Line, QStringLiteral("the position of key %1 is not "
                                                        "\",left,top,right,bottom,name\"")
                                             .arg(entry.Key)});
            continue;
        }
        for (const TKeyRect& rect : position->Rects)
            findings += RectFindings(rect, QStringLiteral("key ") + entry.Key, entry.Line);
        for (const TPlaced& other : placed)
            for (const TKeyRect& a : position->Rects)
                if (std::any_of(other.Rects.begin(), other.Rects.end(),
                                [&](const TKeyRect& b) { return Overlap(a, b); })) {
                    findings.append(
                        {entry.Line,
                         QStringLiteral("key %1 overlaps key %2").arg(entry.Key, other.Key)});
                    break;
                }
        placed.append({entry.Key, position->Rects});
    }
    return findings;
}

TFindings CheckKeyDescriptions(const TLayoutSource& source) {
    TFindings findings;
    for (int group = 0; group < KeyGroupCount; ++group) {
        if (!ReactsOnSomePage(group) ||
            !source.Value(KeyDescriptions, DescriptionKey(group)).isEmpty())
            continue;
        const int line = source.LineOf(KeyDescriptions, DescriptionKey(group));
        findings.append({line ? line : FallbackLine(source, KeyDescriptions),
                         QStringLiteral("the key group %1 reacts to the pointer but has no "
                                        "description (%2)")
                             .arg(Quote(KeyGroupNames[group]), DescriptionKey(group))});
    }
    for (const TLayoutEntry& entry : source.Entries) {
        if (!Same(entry.Section, KeyDescriptions))
            continue;
        const bool known =
            std::any_of(KeyGroupNames.begin(), KeyGroupNames.end(), [&](QLatin1String name) {
                return Same(entry.Key, QStringLiteral("descr-") + name);
            });
        if (!known)
            findings.append({entry.Line, QStringLiteral("%1 names no key group: the program "
                                                        "never reads it")
                                             .arg(entry.Key)});
    }
    return findings;
}

TFindings CheckPicture(const TLayoutSource& source) {
    const QString name = source.Value(Bitmap, QStringLiteral("bitmap"));
    if (name.isEmpty())
        return {}; // a missing name is a missing window text
    const int line = source.LineOf(Bitmap, QStringLiteral("bitmap"));
    const QString path = QFileInfo(source.FileName).dir().filePath(name);
    if (!QFileInfo(path).isFile())
        return {{line, QStringLiteral("the keyboard picture %1 is missing beside the layout file")
                           .arg(name)}};
    if (LoadKeyboardPicture(path, source.FileName).isNull())
        return {{line, QStringLiteral("the keyboard picture %1 is not a readable picture (a BMP "
                                      "file, as kbpicgen draws it)")
                           .arg(name)}};
    return {};
}

TFindings CheckCorrectionWidths(const TLayoutSource& source, TWindowMeasures& measures) {
    TFindings findings;
    for (int number = 1; number <= LastPage; ++number) {
        const TPage page(source, number);
        const QString correction = page.Text(QStringLiteral("correction"));
        if (!page.HasTitle() || page.Mode() != TypingMode::Exercise || correction.isEmpty() ||
            measures.FitsFirstLine(correction))
            continue;
        findings.append({page.Line(QStringLiteral("correction")),
                         QStringLiteral("the correction is longer than a line of the typing box "
                                        "in a window of %1 x %2: it wraps, and the first line "
                                        "never equals it")
                             .arg(TWindowMeasures::ReferenceClientSize.width())
                             .arg(TWindowMeasures::ReferenceClientSize.height())});
    }
    return findings;
}

TFindings CheckButtonCaptions(const TLayoutSource& source, TWindowMeasures& measures) {
    TFindings findings;
    for (const TLayoutEntry& entry : source.Entries) {
        TFancyButton* button =
            Same(entry.Section, Buttons) ? measures.ButtonFor(entry.Key) : nullptr;
        if (!button || source.LineOf(entry.Section, entry.Key) != entry.Line)
            continue;
        const QString caption = source.Value(entry.Section, entry.Key);
        const TWindowMeasures::TCaptionFit fit = measures.FitCaption(button, caption);
        if (fit.Fits())
            continue;
        findings.append(
            {entry.Line, QStringLiteral("the caption %1 is wider than its button leaves room "
                                        "for: it covers columns %2 to %3, the room beside the "
                                        "button's symbol is %4 to %5")
                             .arg(Quote(caption))
                             .arg(fit.InkLeft)
                             .arg(fit.InkRight)
                             .arg(fit.RoomLeft)
                             .arg(fit.RoomRight)});
    }
    return findings;
}

TFindings CheckLayout(const TLayoutSource& source, TWindowMeasures& measures) {
    TFindings findings = CheckEncoding(source);
    for (auto rule :
         {CheckSyntax, CheckRepeatedKeys, CheckValueLengths, CheckWindowTexts, CheckPageTitles,
          CheckKeyCoordinates, CheckKeyPositions, CheckKeyDescriptions, CheckPicture})
        findings += rule(source);
    for (int number = 1; number <= LastPage; ++number)
        findings += CheckPage(source, number);
    findings += CheckCorrectionWidths(source, measures);
    findings += CheckButtonCaptions(source, measures);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const TFinding& a, const TFinding& b) { return a.Line < b.Line; });
    return findings;
}

QString FormatFinding(const QString& fileName, const TFinding& finding) {
    return QStringLiteral("%1:%2: %3")
        .arg(fileName)
        .arg(std::max(finding.Line, 1))
        .arg(finding.Message);
}
