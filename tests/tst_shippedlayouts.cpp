// Checks every layout file shipped in data/ (*.kb) with the rules that kbcheck applies: each
// value fits the buffer it is read into, the thirty pages exist and name real key groups, every
// typing exercise can be completed and every button caption fits its button. Beyond those rules,
// shipped files are UTF-8 and have all thirty pages.

#include "LayoutCheck.h"
#include "LayoutFile.h"
#include "TestSupport.h"
#include "WindowMeasures.h"

#include <QDir>
#include <QTest>

#include <memory>

namespace {

void AddFileRows() {
    QTest::addColumn<QString>("fileName");
    const QStringList files = ShippedLayoutFiles();
    for (const QString& file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

TLayoutSource ReadSource(const QString& fileName) {
    const std::optional<TLayoutSource> source = TLayoutSource::Read(fileName);
    if (!source)
        qFatal("%s cannot be read", qPrintable(fileName));
    return *source;
}

// Fails with every finding of the rules, one per line.
#define VERIFY_NO_FINDINGS(fileName, findings)                                                     \
    do {                                                                                           \
        QStringList lines_;                                                                        \
        for (const TFinding& finding_ : findings)                                                  \
            lines_ << FormatFinding(fileName, finding_);                                           \
        QVERIFY2(lines_.isEmpty(), qPrintable(lines_.join(u'\n')));                                \
    } while (false)

} // namespace

class TestShippedLayouts : public QObject {
    Q_OBJECT

    std::unique_ptr<TWindowMeasures> Measures;

private slots:
    void initTestCase() { Measures = std::make_unique<TWindowMeasures>(); }
    void cleanupTestCase() { Measures.reset(); }

    void layoutFilesAreShipped() { QVERIFY(!ShippedLayoutFiles().isEmpty()); }

    void fileSyntax_data() { AddFileRows(); }
    void fileSyntax() {
        QFETCH(QString, fileName);
        const TLayoutSource source = ReadSource(fileName);
        QVERIFY2(IsUtf8(source.Bytes), "shipped layout files are UTF-8");
        VERIFY_NO_FINDINGS(fileName,
                           CheckEncoding(source) + CheckSyntax(source) + CheckRepeatedKeys(source));
    }

    void valuesFitTheirBuffers_data() { AddFileRows(); }
    void valuesFitTheirBuffers() {
        QFETCH(QString, fileName);
        VERIFY_NO_FINDINGS(fileName, CheckValueLengths(ReadSource(fileName)));
    }

    void windowTextsAreComplete_data() { AddFileRows(); }
    void windowTextsAreComplete() {
        QFETCH(QString, fileName);
        VERIFY_NO_FINDINGS(fileName, CheckWindowTexts(ReadSource(fileName)));
    }

    void keyDescriptions_data() { AddFileRows(); }
    void keyDescriptions() {
        QFETCH(QString, fileName);
        VERIFY_NO_FINDINGS(fileName, CheckKeyDescriptions(ReadSource(fileName)));
    }

    void keyCoordinatesAndPicture_data() { AddFileRows(); }
    void keyCoordinatesAndPicture() {
        QFETCH(QString, fileName);
        const TLayoutSource source = ReadSource(fileName);
        VERIFY_NO_FINDINGS(fileName, CheckKeyCoordinates(source) + CheckPicture(source));
    }

    void pages_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("index");
        for (const QString& file : ShippedLayoutFiles())
            for (int index = 0; index < LastPage; ++index)
                QTest::addRow("%s page %d", qPrintable(QFileInfo(file).fileName()), index + 1)
                    << file << index;
    }
    void pages() {
        QFETCH(QString, fileName);
        QFETCH(int, index);
        const TLayoutSource source = ReadSource(fileName);
        QVERIFY2(!ReadPageText(fileName, QStringLiteral("title"), index + 1).isEmpty(),
                 "the page has no title");
        VERIFY_NO_FINDINGS(fileName, CheckPage(source, index + 1));
    }

    void textsFitTheWindow_data() { AddFileRows(); }
    void textsFitTheWindow() {
        QFETCH(QString, fileName);
        const TLayoutSource source = ReadSource(fileName);
        VERIFY_NO_FINDINGS(fileName, CheckCorrectionWidths(source, *Measures) +
                                         CheckButtonCaptions(source, *Measures));
    }
};

QTEST_MAIN(TestShippedLayouts)

#include "tst_shippedlayouts.moc"
