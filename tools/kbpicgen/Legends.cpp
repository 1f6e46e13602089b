#include "Legends.h"

#include <QFile>
#include <QSet>

namespace kbpicgen {

namespace {

// Splits a line into words the way a shell does: blanks separate words, double quotes group,
// a backslash takes the next character literally (\n gives a line break).
std::optional<QStringList> SplitWords(QStringView line, QString& error) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line[i];
        if (ch == u'\\') {
            if (++i == line.size()) {
                error = "a backslash ends the line";
                return std::nullopt;
            }
            word.append(line[i] == u'n' ? QChar(u'\n') : line[i]);
            inWord = true;
        } else if (ch == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && ch.isSpace()) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(ch);
            inWord = true;
        }
    }
    if (quoted) {
        error = "a double quote is not closed";
        return std::nullopt;
    }
    if (inWord)
        words.append(word);
    return words;
}

} // namespace

std::optional<LegendSet> ParseLegends(const QString& text, QStringList& errors) {
    const qsizetype errorsBefore = errors.size();
    LegendSet set;
    std::optional<Form> form;
    QStringList order; // key names in file order, to report strays in a stable order

    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString& message) {
            errors.append(QString("line %1: %2").arg(n + 1).arg(message));
        };
        QString error;
        const std::optional<QStringList> words = SplitWords(line, error);
        if (!words) {
            fail(error);
            continue;
        }
        const QString& first = words->front();
        if (first == "name") {
            set.name = words->mid(1).join(u' ');
        } else if (first == "form") {
            form = words->size() == 2 ? FormFromName(words->at(1)) : std::nullopt;
            if (!form)
                fail("the form must be ansi or iso");
        } else if (first == "display") {
            if (words->size() != 3 || words->at(2).isEmpty())
                fail("a display line needs a key name and one name");
            else if (set.displayNames.contains(words->at(1)))
                fail(QString("key %1 has two display names").arg(words->at(1)));
            else
                set.displayNames.insert(words->at(1), words->at(2));
            if (words->size() > 1)
                order.append(words->at(1));
        } else if (words->size() < 2 || words->size() > 4) {
            fail(QString("key %1 needs one to three legends").arg(first));
        } else if (set.legends.contains(first)) {
            fail(QString("key %1 is given twice").arg(first));
        } else {
            set.legends.insert(first, Legend{words->at(1), words->value(2), words->value(3)});
            order.append(first);
        }
    }

    if (!form) {
        errors.append("the form (ansi or iso) is missing");
    } else {
        set.form = *form;
        const Keyboard keyboard = MakeKeyboard(*form);
        QSet<QString> known;
        for (const Key& key : keyboard.keys) {
            known.insert(key.name);
            if (!set.legends.contains(key.name))
                errors.append(QString("key %1 has no legend").arg(key.name));
        }
        for (const QString& name : order)
            if (!known.contains(name))
                errors.append(
                    QString("key %1 is not a key of the %2 keyboard").arg(name, FormName(*form)));
    }
    if (errors.size() != errorsBefore)
        return std::nullopt;
    return set;
}

QString LegendSet::displayName(const QString& keyName) const {
    const QString name = displayNames.value(keyName);
    return name.isEmpty() ? legend(keyName).main.replace(u'\n', u' ') : name;
}

std::optional<LegendSet> LoadLegends(const QString& fileName, QStringList& errors) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        errors.append(QString("%1: %2").arg(fileName, file.errorString()));
        return std::nullopt;
    }
    QStringList fileErrors;
    auto set = ParseLegends(QString::fromUtf8(file.readAll()), fileErrors);
    for (const QString& error : fileErrors)
        errors.append(QString("%1: %2").arg(fileName, error));
    return set;
}

} // namespace kbpicgen
