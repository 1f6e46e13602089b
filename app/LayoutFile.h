#pragma once

#include <QString>

// Names and reading rules of layout files ("*.kb") and of the settings file.

inline const QString ExplanationTexts = QStringLiteral("Explanation texts");
inline const QString SettingsSection = QStringLiteral("General");
inline const QString SettingsKey = QStringLiteral("keyboard");

// The buffer of nearly every layout value: 199 characters are read.
constexpr int ValueBufferSize = 200;
// The other buffers: the numbered-lines prefix, the key descriptions and the picture's name.
constexpr int NumberedLinesPrefixBufferSize = 100;
constexpr int KeyDescriptionBufferSize = 30;
constexpr int BitmapNameBufferSize = 10;
constexpr int LastPage = 30;

// The buffer that the program reads a value of the layout file into.
int LayoutValueBufferSize(const QString& section, const QString& key);

// The key of a page value: the stem and the page index (the page number less one), "title-0".
QString PageKey(const QString& stem, int page);

// Reads a layout value into a buffer of the given size (the default buffer unless said).
QString ReadLayoutText(const QString& fileName, const QString& section, const QString& key,
                       const QString& defaultValue = QString(), int bufferSize = ValueBufferSize);

// Reads a page value of section "Explanation texts", default empty.
QString ReadPageText(const QString& fileName, const QString& stem, int page);

// The first page numbered n or higher (up to 30) whose title is not empty; 0 when there is none
// or n is below 1.
int FindPage(const QString& fileName, int n);

// Why a layout file that is there cannot be used, as a sentence naming the file: it is no regular
// file (a pipe, a device, a directory), it is larger than MaxProfileFileSize, or it cannot be
// opened. Empty when the file can be read, and when there is none (a missing layout file reads as
// an empty one).
QString LayoutFileProblem(const QString& fileName);

// The directory of the program file (everything before its last slash).
QString ProgramDirectory(const QString& programFile);

// The data directory of an installed program: its layout files and pictures, found from the
// program's directory by the same relative way as the install rules put them
// ("../share/fingerwise").
QString DataDirectory(const QString& programFile);

// Where the layout files are read from: the program's directory when a layout file stands there
// (a portable copy), else the data directory of an installed program.
QString LayoutDirectory(const QString& programFile);

// The settings file beside the program: the extension of the program's file name replaced by
// ".ini", or ".ini" appended when the name has none (a dot in a directory name does not count).
QString SettingsFilePath(const QString& programFile);

// The layout file of a layout name in a directory: "<directory>/<name>.kb".
QString LayoutFilePath(const QString& directory, const QString& layoutName);
