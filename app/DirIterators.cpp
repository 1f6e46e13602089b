#include "DirIterators.h"

#include <QFile>

namespace fs = std::filesystem;

bool MatchesWildcard(const QString& name, const QString& pattern) {
    // Classic greedy matching with one backtrack point for the last '*'.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

TDirEntryIterator::TDirEntryIterator(const QString& directory, const QString& pattern)
    : Directory(directory)
    , Pattern(pattern) {
    std::error_code error;
    Search = std::make_unique<fs::directory_iterator>(
        fs::path(QFile::encodeName(directory).toStdString()), error);
    if (error || !FetchNext())
        Search.reset();
}

bool TDirEntryIterator::FetchNext() {
    std::error_code error;
    for (; *Search != fs::directory_iterator(); Search->increment(error)) {
        if (error)
            break;
        const fs::directory_entry& entry = **Search;
        const QString name = QFile::decodeName(entry.path().filename().native().c_str());
        if (!MatchesWildcard(name, Pattern))
            continue;
        Current = dir_entry{name, entry.is_directory(error)};
        Search->increment(error);
        if (error)
            *Search = fs::directory_iterator();
        return true;
    }
    Current.reset();
    return false;
}

const dir_entry* TDirEntryIterator::Advance() {
    while (Search) {
        if (!FetchNext()) {
            Search.reset();
            break;
        }
        if (Accept())
            return &*Current;
    }
    Current.reset();
    return nullptr;
}

const dir_entry* TDirEntryIterator::Next() {
    if (Current && Accept())
        return Advance();
    return nullptr;
}

void TDirEntryIterator::SkipRefused() {
    if (Current && !Accept())
        Advance();
}

TFileIterator::TFileIterator(const QString& directory, const QString& pattern)
    : TDirEntryIterator(directory, pattern) {
    SkipRefused();
}

QString BaseName(const dir_entry& entry) {
    const qsizetype dot = entry.FileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : entry.FileName.left(dot);
}
