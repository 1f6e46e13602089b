#pragma once

#include <QString>

#include <filesystem>
#include <memory>
#include <optional>

// One entry found by a directory search.
struct dir_entry {
    QString FileName;
    bool IsDirectory = false;
};

// Walks the entries of one directory whose names match a wildcard pattern ('*' and '?', matched
// without regard to case). Either Current is empty, or it holds an entry that Accept() allows.
class TDirEntryIterator {
public:
    TDirEntryIterator(const QString& directory, const QString& pattern);
    virtual ~TDirEntryIterator() = default;
    TDirEntryIterator(const TDirEntryIterator&) = delete;
    TDirEntryIterator& operator=(const TDirEntryIterator&) = delete;

    // Whether the current entry counts.
    virtual bool Accept() const { return Current.has_value(); }
    // Fetches entries until one is accepted or the search ends; returns the new current entry.
    const dir_entry* Advance();
    // Steps on from an accepted current entry.
    const dir_entry* Next();

    std::optional<dir_entry> Current;

protected:
    // Makes Current accepted: the first step of a derived iterator's construction.
    void SkipRefused();

private:
    bool FetchNext();

    QString Directory;
    QString Pattern;
    std::unique_ptr<std::filesystem::directory_iterator> Search;
};

// Walks the files (not the directories) of one directory that match a pattern.
class TFileIterator : public TDirEntryIterator {
public:
    TFileIterator(const QString& directory, const QString& pattern);
    bool Accept() const override { return Current && !Current->IsDirectory; }
};

// Whether a name matches a wildcard pattern of '*' and '?', without regard to case.
bool MatchesWildcard(const QString& name, const QString& pattern);

// The layout name of an entry: its file name up to its last dot; empty when it has no dot.
QString BaseName(const dir_entry& entry);
