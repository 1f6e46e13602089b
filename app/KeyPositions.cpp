#include "KeyPositions.h"

#include "LayoutFile.h"

#include <QChar>
#include <QHash>

#include <algorithm>

namespace {

// The keys of a row, numbered from 1 ("AD01", "AD02"...), on consecutive codes from `first`.
void AddRow(QHash<quint32, QString>& table, quint32 first, const char* stem, int count) {
    for (int i = 0; i < count; ++i)
        table.insert(first + i, QString("%1%2").arg(stem).arg(i + 1, 2, 10, QChar(u'0')));
}

// XKB keycodes (the Linux input code plus 8) of the keys of a full-size PC keyboard.
const QHash<quint32, QString>& XkbPositions() {
    static const QHash<quint32, QString> table = [] {
        QHash<quint32, QString> t{
            {9, "ESC"},    {22, "BKSP"},  {23, "TAB"},   {36, "RTRN"},  {37, "LCTL"},
            {49, "TLDE"},  {50, "LFSH"},  {51, "BKSL"},  {62, "RTSH"},  {63, "KPMU"},
            {64, "LALT"},  {65, "SPCE"},  {66, "CAPS"},  {77, "NMLK"},  {78, "SCLK"},
            {79, "KP7"},   {80, "KP8"},   {81, "KP9"},   {82, "KPSU"},  {83, "KP4"},
            {84, "KP5"},   {85, "KP6"},   {86, "KPAD"},  {87, "KP1"},   {88, "KP2"},
            {89, "KP3"},   {90, "KP0"},   {91, "KPDL"},  {94, "LSGT"},  {95, "FK11"},
            {96, "FK12"},  {104, "KPEN"}, {105, "RCTL"}, {106, "KPDV"}, {107, "PRSC"},
            {108, "RALT"}, {110, "HOME"}, {111, "UP"},   {112, "PGUP"}, {113, "LEFT"},
            {114, "RGHT"}, {115, "END"},  {116, "DOWN"}, {117, "PGDN"}, {118, "INS"},
            {119, "DELE"}, {127, "PAUS"}, {133, "LWIN"}, {134, "RWIN"}, {135, "COMP"}};
        AddRow(t, 10, "AE", 12);
        AddRow(t, 24, "AD", 12);
        AddRow(t, 38, "AC", 11);
        AddRow(t, 52, "AB", 10);
        AddRow(t, 67, "FK", 10);
        return t;
    }();
    return table;
}

// Set 1 scan codes; the extended keys carry 0xE0 in the high byte.
const QHash<quint32, QString>& WindowsPositions() {
    static const QHash<quint32, QString> table = [] {
        QHash<quint32, QString> t{
            {0x01, "ESC"},    {0x0E, "BKSP"},   {0x0F, "TAB"},    {0x1C, "RTRN"},
            {0x1D, "LCTL"},   {0x29, "TLDE"},   {0x2A, "LFSH"},   {0x2B, "BKSL"},
            {0x36, "RTSH"},   {0x37, "KPMU"},   {0x38, "LALT"},   {0x39, "SPCE"},
            {0x3A, "CAPS"},   {0x45, "PAUS"},   {0x46, "SCLK"},   {0x47, "KP7"},
            {0x48, "KP8"},    {0x49, "KP9"},    {0x4A, "KPSU"},   {0x4B, "KP4"},
            {0x4C, "KP5"},    {0x4D, "KP6"},    {0x4E, "KPAD"},   {0x4F, "KP1"},
            {0x50, "KP2"},    {0x51, "KP3"},    {0x52, "KP0"},    {0x53, "KPDL"},
            {0x56, "LSGT"},   {0x57, "FK11"},   {0x58, "FK12"},   {0xE01C, "KPEN"},
            {0xE01D, "RCTL"}, {0xE035, "KPDV"}, {0xE037, "PRSC"}, {0xE038, "RALT"},
            {0xE045, "NMLK"}, {0xE047, "HOME"}, {0xE048, "UP"},   {0xE049, "PGUP"},
            {0xE04B, "LEFT"}, {0xE04D, "RGHT"}, {0xE04F, "END"},  {0xE050, "DOWN"},
            {0xE051, "PGDN"}, {0xE052, "INS"},  {0xE053, "DELE"}, {0xE05B, "LWIN"},
            {0xE05C, "RWIN"}, {0xE05D, "COMP"}};
        AddRow(t, 0x02, "AE", 12);
        AddRow(t, 0x10, "AD", 12);
        AddRow(t, 0x1E, "AC", 11);
        AddRow(t, 0x2C, "AB", 10);
        AddRow(t, 0x3B, "FK", 10);
        return t;
    }();
    return table;
}

int GroupNamed(const char* name) {
    return KeyGroupIndex(QString::fromLatin1(name));
}

} // namespace

std::optional<TKeyPosition> ParseKeyPosition(const QString& value) {
    if (!value.startsWith(u','))
        return std::nullopt;
    const QStringList fields = value.mid(1).split(u',');
    const qsizetype numbers = (fields.size() - 1) / 4 * 4;
    if (numbers == 0)
        return std::nullopt;
    try {
        TKeyPosition position;
        position.Rects = ParseKeyRects(u',' + fields.mid(0, numbers).join(u','));
        std::reverse(position.Rects.begin(), position.Rects.end());
        position.Name = fields.mid(numbers).join(u',');
        return position;
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

QString KeyPositionValue(const std::vector<TKeyRect>& rects, const QString& name) {
    QString value;
    for (const TKeyRect& r : rects)
        value += QString(",%1,%2,%3,%4").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
    return value + u',' + name;
}

TScanCodeSet NativeScanCodeSet() {
#ifdef Q_OS_WIN
    return TScanCodeSet::Windows;
#else
    return TScanCodeSet::Xkb;
#endif
}

QStringList KeyPositionNames(quint32 scanCode, TScanCodeSet set) {
    QString name;
    if (set == TScanCodeSet::Xkb) {
        name = XkbPositions().value(scanCode);
    } else {
        // Qt reports the extended flag of the key message as 0x100.
        if ((scanCode & 0xFF00) == 0x100)
            scanCode = 0xE000 | (scanCode & 0xFF);
        name = WindowsPositions().value(scanCode);
    }
    if (name.isEmpty())
        return {};
    if (name == QLatin1String("BKSL"))
        return {name, QStringLiteral("AC12")};
    return {name};
}

int KeyGroupOfQtKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier) || key == Qt::Key_NumLock)
        return GroupNamed("numpad");
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return GroupNamed("function");
    switch (key) {
    case Qt::Key_Escape:
        return GroupNamed("esc");
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return GroupNamed("tab");
    case Qt::Key_Backspace:
        return GroupNamed("backspace");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GroupNamed("enter");
    case Qt::Key_Insert:
        return GroupNamed("insert");
    case Qt::Key_Delete:
        return GroupNamed("delete");
    case Qt::Key_Print:
    case Qt::Key_SysReq:
        return GroupNamed("printscreen");
    case Qt::Key_Home:
    case Qt::Key_End:
        return GroupNamed("homeend");
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return GroupNamed("pguppgdn");
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return GroupNamed("arrow");
    case Qt::Key_Shift:
        return GroupNamed("shift");
    case Qt::Key_Control:
        return GroupNamed("ctrl");
    case Qt::Key_Alt:
        return GroupNamed("alt");
    case Qt::Key_AltGr:
        return GroupNamed("altgr");
    case Qt::Key_CapsLock:
        return GroupNamed("capslock");
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Menu:
        return GroupNamed("windows");
    case Qt::Key_Space:
        return GroupNamed("spacebar");
    default:
        break;
    }
    // The character keys: Qt's codes of printable keys are the characters' upper case.
    if (key <= 0 || key > 0xFFFF)
        return -1;
    const QChar ch(key);
    if (ch.isLetter())
        return GroupNamed("letter");
    if (ch.isDigit())
        return GroupNamed("number");
    return ch.isPrint() ? GroupNamed("symbol") : -1;
}

TExploredKey ExploreKey(const QString& layoutFile, const TKeyMap& keyMap, quint32 scanCode,
                        TScanCodeSet set, int key, Qt::KeyboardModifiers modifiers,
                        const QString& fallbackName) {
    TExploredKey explored;
    for (const QString& position : KeyPositionNames(scanCode, set)) {
        const auto found =
            ParseKeyPosition(ReadLayoutText(layoutFile, KeyPositionsSection, position));
        if (!found)
            continue;
        explored.Name = found->Name;
        explored.Rects = found->Rects;
        explored.OneKey = true;
        const TKeyRect& r = found->Rects.front();
        // Groups as the pointer finds them on a key's page: single keys, not areas.
        explored.Group =
            KeyGroupAt(keyMap, 1, ReferenceWidth, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        return explored;
    }
    explored.Name = fallbackName;
    explored.Group = KeyGroupOfQtKey(key, modifiers);
    if (explored.Group >= 0)
        explored.Rects = ParseKeyRects(keyMap[explored.Group]);
    return explored;
}

int FirstPageOfKeyGroup(const QString& layoutFile, int group) {
    if (group < 0 || group >= KeyGroupCount)
        return 0;
    for (int page = 1; page <= LastPage; ++page) {
        const QString name = ReadPageText(layoutFile, QStringLiteral("image"), page);
        if (!name.isEmpty() && name.compare(KeyGroupNames[group], Qt::CaseInsensitive) == 0)
            return page;
    }
    return 0;
}
