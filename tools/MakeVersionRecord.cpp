// Writes the C++ source of a program's version record: fw_mkversionrecord FILEVERSION OUTPUT.
// The build compiles the output into each program that shows its own version.

#include "VersionRecord.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILEVERSION OUTPUT\n", argv[0]);
        return 2;
    }
    const QString fileVersion = QString::fromLocal8Bit(argv[1]);
    const QByteArray source =
        VersionRecord::EncodeRecordSource(VersionRecord::ProgramVersionInfo(fileVersion));
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(source) != source.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
