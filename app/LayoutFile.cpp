#include "LayoutFile.h"

#include "CheckedFile.h"
#include "DirIterators.h"
#include "IniFile.h"

#include <QDir>

QString PageKey(const QString& stem, int page) {
    return stem + u'-' + QString::number(page - 1);
}

int LayoutValueBufferSize(const QString& section, const QString& key) {
    const auto is = [](const QString& name, const char* expected) {
        return name.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
    };
    if (is(section, "Messages") && is(key, "thisisline"))
        return NumberedLinesPrefixBufferSize;
    if (is(section, "Key descriptions"))
        return KeyDescriptionBufferSize;
    if (is(section, "Bitmap") && is(key, "bitmap"))
        return BitmapNameBufferSize;
    return ValueBufferSize;
}

QString ReadLayoutText(const QString& fileName, const QString& section, const QString& key,
                       const QString& defaultValue, int bufferSize) {
    return ReadProfileString(section, key, defaultValue, bufferSize, fileName);
}

QString ReadPageText(const QString& fileName, const QString& stem, int page) {
    return ReadLayoutText(fileName, ExplanationTexts, PageKey(stem, page));
}

int FindPage(const QString& fileName, int n) {
    for (int page = std::max(n, 1); n >= 1 && page <= LastPage; ++page)
        if (!ReadPageText(fileName, QStringLiteral("title"), page).isEmpty())
            return page;
    return 0;
}

QString LayoutFileProblem(const QString& fileName) {
    QString reason;
    switch (CheckFile(fileName, MaxProfileFileSize)) {
    case FileCheck::Regular:
    case FileCheck::Missing:
        return QString();
    case FileCheck::NotRegular:
        reason = QStringLiteral("it is not a regular file");
        break;
    case FileCheck::TooLarge:
        reason = QStringLiteral("it is larger than %1 MiB").arg(MaxProfileFileSize >> 20);
        break;
    case FileCheck::Unreadable:
        reason = QStringLiteral("it cannot be opened");
        break;
    }
    return QStringLiteral("The layout file %1 cannot be read: %2.")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

QString ProgramDirectory(const QString& programFile) {
    return programFile.left(std::max<qsizetype>(programFile.lastIndexOf(u'/'), 0));
}

QString DataDirectory(const QString& programFile) {
    return QDir::cleanPath(ProgramDirectory(programFile) +
                           QStringLiteral("/" FW_DATA_FROM_PROGRAM));
}

QString LayoutDirectory(const QString& programFile) {
    const QString beside = ProgramDirectory(programFile);
    if (TFileIterator(beside, QStringLiteral("*.kb")).Current)
        return beside;
    return DataDirectory(programFile);
}

QString SettingsFilePath(const QString& programFile) {
    const qsizetype nameStart = programFile.lastIndexOf(u'/') + 1;
    const qsizetype dot = programFile.lastIndexOf(u'.');
    const QString stem = dot >= nameStart ? programFile.left(dot) : programFile;
    return stem + QStringLiteral(".ini");
}

QString LayoutFilePath(const QString& directory, const QString& layoutName) {
    return directory + u'/' + layoutName + QStringLiteral(".kb");
}
