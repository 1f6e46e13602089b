#include "VersionRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <utility>

namespace VersionRecord {

namespace {

// The mark in front of a record in a file, then the block's length and checksum.
constexpr char Mark[8] = {'\x89', 'F', 'W', 'V', 'E', 'R', '\r', '\n'};
constexpr qsizetype HeaderSize = sizeof(Mark) + 4 + 4;
constexpr std::uint32_t NodeHeaderSize = 12;
constexpr std::uint32_t TextType = 1;
constexpr std::uint32_t BinaryType = 0;

std::uint32_t Checksum(const char* data, qsizetype size) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= std::uint8_t(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

void AppendUInt32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void PadTo4(QByteArray& out) {
    while (out.size() % 4 != 0)
        out.append('\0');
}

std::uint32_t ReadUInt32(const char* at) {
    return qFromLittleEndian<std::uint32_t>(at);
}

constexpr std::uint64_t Align4(std::uint64_t offset) {
    return (offset + 3) & ~std::uint64_t(3);
}

// A node of the block being written.
struct TNode {
    QString Key;
    QByteArray Value;
    std::uint32_t Type = BinaryType;
    QList<TNode> Children;
};

TNode TextNode(const QString& key, const QString& text) {
    QByteArray value = text.toUtf8();
    value.append('\0');
    return {key, value, TextType, {}};
}

void AppendNode(QByteArray& out, const TNode& node) {
    const qsizetype start = out.size();
    AppendUInt32(out, 0); // length, filled in below
    AppendUInt32(out, std::uint32_t(node.Value.size()));
    AppendUInt32(out, node.Type);
    out.append(node.Key.toUtf8());
    out.append('\0');
    PadTo4(out);
    out.append(node.Value);
    for (const TNode& child : node.Children) {
        PadTo4(out);
        AppendNode(out, child);
    }
    qToLittleEndian(std::uint32_t(out.size() - start), out.data() + start);
}

// A node found in a block: where its value and its children lie.
struct TNodeView {
    QByteArray Key;
    std::uint64_t ValueStart = 0;
    std::uint32_t ValueLength = 0;
    std::uint64_t ChildrenStart = 0;
    std::uint64_t End = 0;
};

// Reads the node at `offset`, which must end by `limit`; false when it does not fit.
bool ReadNode(const char* block, std::uint64_t offset, std::uint64_t limit, TNodeView& node) {
    if (offset + NodeHeaderSize > limit)
        return false;
    const std::uint32_t length = ReadUInt32(block + offset);
    const std::uint32_t valueLength = ReadUInt32(block + offset + 4);
    if (length < NodeHeaderSize || offset + length > limit)
        return false;
    node.End = offset + length;
    const std::uint64_t keyStart = offset + NodeHeaderSize;
    std::uint64_t keyEnd = keyStart;
    while (keyEnd < node.End && block[keyEnd] != '\0')
        ++keyEnd;
    if (keyEnd >= node.End)
        return false;
    node.Key = QByteArray(block + keyStart, qsizetype(keyEnd - keyStart));
    node.ValueStart = Align4(keyEnd + 1);
    node.ValueLength = valueLength;
    if (node.ValueStart + valueLength > node.End)
        return false;
    node.ChildrenStart = Align4(node.ValueStart + valueLength);
    return true;
}

bool FindChild(const char* block, const TNodeView& parent, const QString& key, TNodeView& found) {
    std::uint64_t offset = parent.ChildrenStart;
    while (offset < parent.End) {
        TNodeView child;
        if (!ReadNode(block, offset, parent.End, child))
            return false;
        if (QString::fromUtf8(child.Key).compare(key, Qt::CaseInsensitive) == 0) {
            found = child;
            return true;
        }
        offset = Align4(child.End);
    }
    return false;
}

// The block of the first valid record in the file's contents; empty when there is none.
QByteArray FindBlock(const char* data, qsizetype size) {
    const QByteArrayView contents(data, size);
    const QByteArrayView mark(Mark, sizeof(Mark));
    for (qsizetype at = contents.indexOf(mark); at >= 0; at = contents.indexOf(mark, at + 1)) {
        if (at + HeaderSize > size)
            break;
        const std::uint32_t length = ReadUInt32(data + at + sizeof(Mark));
        const std::uint32_t checksum = ReadUInt32(data + at + sizeof(Mark) + 4);
        const char* block = data + at + HeaderSize;
        if (length < NodeHeaderSize || length > std::uint64_t(size - at - HeaderSize))
            continue;
        if (Checksum(block, length) != checksum)
            continue;
        TNodeView root;
        if (ReadNode(block, 0, length, root))
            return QByteArray(block, length);
    }
    return {};
}

QByteArray ReadBlock(const QString& fileName) {
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    if (file.size() == 0)
        return {};
    if (const uchar* mapped = file.map(0, file.size())) {
        QByteArray block = FindBlock(reinterpret_cast<const char*>(mapped), file.size());
        file.unmap(const_cast<uchar*>(mapped));
        return block;
    }
    const QByteArray contents = file.readAll();
    return FindBlock(contents.constData(), contents.size());
}

TProgramFileNameFunction& ProgramFileNameFunction() {
    static TProgramFileNameFunction function;
    return function;
}

} // namespace

QString StringTableName(std::uint16_t language, std::uint16_t codePage) {
    return QStringLiteral("%1%2")
        .arg(language, 4, 16, QLatin1Char('0'))
        .arg(codePage, 4, 16, QLatin1Char('0'))
        .toUpper();
}

QByteArray EncodeBlock(const TVersionInfo& info) {
    TNode strings{QStringLiteral("StringFileInfo"), {}, TextType, {}};
    for (const TStringTable& table : info.StringTables) {
        TNode tableNode{StringTableName(table.Language, table.CodePage), {}, TextType, {}};
        for (const auto& [name, text] : table.Entries)
            tableNode.Children.append(TextNode(name, text));
        strings.Children.append(tableNode);
    }
    QByteArray translations;
    for (const auto& [language, codePage] : info.Translations)
        AppendUInt32(translations, std::uint32_t(language) | (std::uint32_t(codePage) << 16));
    TNode variables{QStringLiteral("VarFileInfo"), {}, TextType, {}};
    variables.Children.append({QStringLiteral("Translation"), translations, BinaryType, {}});

    const TNode root{QStringLiteral("VS_VERSION_INFO"), {}, BinaryType, {strings, variables}};
    QByteArray block;
    AppendNode(block, root);
    return block;
}

QByteArray EncodeRecord(const TVersionInfo& info) {
    const QByteArray block = EncodeBlock(info);
    QByteArray record(Mark, sizeof(Mark));
    AppendUInt32(record, std::uint32_t(block.size()));
    AppendUInt32(record, Checksum(block.constData(), block.size()));
    record.append(block);
    return record;
}

QByteArray EncodeRecordSource(const TVersionInfo& info) {
    const QByteArray record = EncodeRecord(info);
    QByteArray source =
        "// Generated at build time: the program's version record, found in the program file by\n"
        "// its mark. Do not edit.\n"
        "#if defined(__GNUC__) || defined(__clang__)\n"
        "#define FW_VERSION_RECORD_ATTRIBUTES "
        "__attribute__((used, section(\".fwversion\"), aligned(4)))\n"
        "#else\n"
        "#define FW_VERSION_RECORD_ATTRIBUTES\n"
        "#endif\n"
        "extern const unsigned char FwVersionRecord[];\n"
        "FW_VERSION_RECORD_ATTRIBUTES const unsigned char FwVersionRecord[] = {";
    for (qsizetype i = 0; i < record.size(); ++i) {
        source += (i % 16 == 0) ? "\n    " : " ";
        source +=
            "0x" + QByteArray::number(std::uint8_t(record[i]), 16).rightJustified(2, '0') + ",";
    }
    source += "\n};\n";
    return source;
}

TVersionInfo ProgramVersionInfo(const QString& fileVersion) {
    constexpr std::uint16_t english = 0x0409;
    constexpr std::uint16_t westernEuropean = 0x04E4;
    TStringTable table{english, westernEuropean, {}};
    table.Entries = {
        {QStringLiteral("CompanyName"), QStringLiteral("Brightmoss Software")},
        {QStringLiteral("FileDescription"), QStringLiteral("Fingerwise keyboard tutorial")},
        {QStringLiteral("FileVersion"), fileVersion},
        {QStringLiteral("InternalName"), QStringLiteral("Fingerwise")},
        {QStringLiteral("OriginalFilename"), QStringLiteral("fingerwise")},
        {QStringLiteral("ProductName"), QStringLiteral("Fingerwise")},
        {QStringLiteral("ProductVersion"), fileVersion},
    };
    return {{{english, westernEuropean}}, {table}};
}

std::uint32_t GetFileVersionInfoSize(const QString& fileName) {
    return std::uint32_t(ReadBlock(fileName).size());
}

bool GetFileVersionInfo(const QString& fileName, std::uint32_t length, char* data) {
    const QByteArray block = ReadBlock(fileName);
    if (block.isEmpty() || data == nullptr)
        return false;
    std::copy_n(block.constData(), std::min<qsizetype>(block.size(), length), data);
    return true;
}

bool VerQueryValue(const char* block, std::uint32_t size, const QString& path, const char** value,
                   std::uint32_t* length) {
    if (block == nullptr || value == nullptr || length == nullptr)
        return false;
    TNodeView node;
    if (!ReadNode(block, 0, size, node))
        return false;
    const QStringList keys = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& key : keys) {
        TNodeView child;
        if (!FindChild(block, node, key, child))
            return false;
        node = child;
    }
    *value = block + node.ValueStart;
    *length = node.ValueLength;
    return true;
}

QString ProgramFileName() {
    const TProgramFileNameFunction& function = ProgramFileNameFunction();
    return function ? function() : QCoreApplication::applicationFilePath();
}

TProgramFileNameFunction SetProgramFileNameFunction(TProgramFileNameFunction function) {
    return std::exchange(ProgramFileNameFunction(), std::move(function));
}

} // namespace VersionRecord
