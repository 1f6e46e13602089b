// The number edit: numbers written in the general format and texts read as numbers, with a full
// stop and with a comma as the locale's decimal separator.

#include "NumberEdit.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

class TestNumberEdit : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void valueIsWrittenInTheGeneralFormat_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.1") << 0.1f << "0.1";
        QTest::newRow("1234567") << 1234567.0f << "1234567";
        QTest::newRow("12345678") << 12345678.0f << "1.234568E7";
        QTest::newRow("0.0001") << 0.0001f << "0.0001";
        QTest::newRow("0.00001") << 0.00001f << "1E-5";
        QTest::newRow("-2.5") << -2.5f << "-2.5";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("whole number") << 100.0f << "100";
        QTest::newRow("seven nines") << 9999999.0f << "9999999";
        QTest::newRow("ten million") << 10000000.0f << "1E7";
        QTest::newRow("negative small") << -0.00012345f << "-0.00012345";
        QTest::newRow("small with fraction") << 1.5e-7f << "1.5E-7";
        QTest::newRow("largest float") << std::numeric_limits<float>::max() << "3.402823E38";
        QTest::newRow("smallest float")
            << std::numeric_limits<float>::denorm_min() << "1.401298E-45";
        // Rounded to 7 digits, a tie away from zero; a carry can add a digit.
        QTest::newRow("tie") << 1234568.5f << "1234569";
        QTest::newRow("negative tie") << -1234568.5f << "-1234569";
        QTest::newRow("carry") << 99999997952.0f << "1E11";
        QTest::newRow("carry into the exponent") << 9.9999999e-5f << "0.0001";
        QTest::newRow("rounding below 0.0001") << 9.9999e-5f << "9.9999E-5";
        QTest::newRow("float's own digits") << 3.1415927f << "3.141593";
        // Never a text that does not read back: the nearest finite value instead.
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "3.402823E38";
        QTest::newRow("minus infinity")
            << -std::numeric_limits<float>::infinity() << "-3.402823E38";
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << "0";
    }

    void valueIsWrittenInTheGeneralFormat() {
        QFETCH(float, value);
        QFETCH(QString, text);
        TNumberEdit edit;
        edit.SetValue(value);
        QCOMPARE(edit.text(), text);

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        edit.SetValue(value);
        QCOMPARE(edit.text(), QString(text).replace('.', ','));
    }

    void textIsReadAsANumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "42" << true << 42.0;
        QTest::newRow("blanks around") << " 12.5 " << true << 12.5;
        QTest::newRow("signs") << "-2.5" << true << -2.5;
        QTest::newRow("plus") << "+7" << true << 7.0;
        QTest::newRow("separator last") << "5." << true << 5.0;
        QTest::newRow("separator first") << ".5" << true << 0.5;
        QTest::newRow("signed separator first") << "-.5" << true << -0.5;
        QTest::newRow("lone separator") << "." << true << 0.0;
        QTest::newRow("exponent") << "1.5E3" << true << 1500.0;
        QTest::newRow("small exponent") << "25e-1" << true << 2.5;
        QTest::newRow("signed exponent") << "2e+2" << true << 200.0;
        QTest::newRow("exponent without digits") << "3e" << true << 3.0;
        QTest::newRow("signed exponent without digits") << "3E-" << true << 3.0;
        QTest::newRow("separator and exponent") << ".e5" << true << 0.0;
        QTest::newRow("leading zeros") << "007" << true << 7.0;
        QTest::newRow("tiny for any float") << "1e-6000" << true << 0.0;
        // Beyond the range of float: the largest finite float of the sign.
        QTest::newRow("beyond float, within extended")
            << "1e300" << true << double(std::numeric_limits<float>::max());
        QTest::newRow("beyond float, negative")
            << "-1e300" << true << -double(std::numeric_limits<float>::max());
        QTest::newRow("printed largest float")
            << "3.4028235e38" << true << double(std::numeric_limits<float>::max());
        QTest::newRow("printed largest float, negative")
            << "-3.4028235E38" << true << -double(std::numeric_limits<float>::max());

        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << "   " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("lone minus") << "-" << false << 0.0;
        QTest::newRow("lone plus") << "+" << false << 0.0;
        QTest::newRow("exponent alone") << "e5" << false << 0.0;
        QTest::newRow("sign then exponent") << "-e5" << false << 0.0;
        QTest::newRow("two separators") << "1.2.3" << false << 0.0;
        QTest::newRow("two signs") << "--1" << false << 0.0;
        QTest::newRow("blank inside") << "1 2" << false << 0.0;
        QTest::newRow("tab around") << "\t12" << false << 0.0;
        QTest::newRow("trailing letter") << "12a" << false << 0.0;
        QTest::newRow("other separator") << "1,5" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("infinity word") << "inf" << false << 0.0;
        QTest::newRow("beyond extended") << "1e5000" << false << 0.0;
        QTest::newRow("beyond extended, negative") << "-1.2e4933" << false << 0.0;
    }

    void textIsReadAsANumber() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        TNumberEdit edit;
        edit.setText(text);
        QCOMPARE(edit.Validate(), valid);
        QCOMPARE(double(edit.GetValue()), double(float(value)));
        QCOMPARE(edit.text(), text); // reading leaves the text as it was typed

        // The same with a comma as the decimal separator.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString swapped = QString(text).replace('.', '#').replace(',', '.').replace('#', ',');
        edit.setText(swapped);
        QCOMPARE(edit.Validate(), valid);
        QCOMPARE(double(edit.GetValue()), double(float(value)));
    }

    void aNewEditIsEmptyAndReadsZero() {
        TNumberEdit edit;
        QCOMPARE(edit.text(), QString());
        QVERIFY(!edit.Validate());
        QCOMPARE(edit.GetValue(), 0.0f);
        QVERIFY(edit.alignment() & Qt::AlignRight);
    }

    void valuesSurviveTheirOwnText() {
        TNumberEdit edit;
        for (float value : {0.1f, 1234567.0f, -2.5f, 1e-5f, 3.25e12f, 6.02e23f}) {
            edit.SetValue(value);
            const float back = edit.GetValue();
            QVERIFY2(std::fabs(back - value) <= std::fabs(value) * 1e-6f, qPrintable(edit.text()));
        }
    }

    void everyWrittenValueReadsBackAsAFiniteNumber_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("back");
        constexpr float largest = std::numeric_limits<float>::max();
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << 3.402823e38f;
        QTest::newRow("minus infinity") << -std::numeric_limits<float>::infinity() << -3.402823e38f;
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 0.0f;
        QTest::newRow("largest float") << largest << 3.402823e38f;
        QTest::newRow("lowest float") << -largest << -3.402823e38f;
    }

    void everyWrittenValueReadsBackAsAFiniteNumber() {
        QFETCH(float, value);
        QFETCH(float, back);
        TNumberEdit edit;
        edit.SetValue(value);
        QVERIFY2(edit.Validate(), qPrintable(edit.text()));
        QCOMPARE(edit.GetValue(), back);
        // Read and written again, the text stays the same.
        const QString text = edit.text();
        edit.SetValue(edit.GetValue());
        QCOMPARE(edit.text(), text);
    }

    void settingTheValueRaisesTheChange() {
        TNumberEdit edit;
        QSignalSpy changes(&edit, &QLineEdit::textChanged);
        edit.SetValue(2.5f);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), "2.5");
    }

    void theNumberTypeChangesNothing() {
        TNumberEdit edit;
        QCOMPARE(edit.GetNumberType(), TNumberEdit::ntInteger);
        edit.SetNumberType(TNumberEdit::ntFloat);
        edit.SetValue(2.5f);
        QCOMPARE(edit.text(), "2.5");
        edit.SetNumberType(TNumberEdit::ntInteger);
        QCOMPARE(edit.GetValue(), 2.5f);
    }

    void valuePropertyReachesTheAccessors() {
        TNumberEdit edit;
        QVERIFY(edit.setProperty("Value", 0.25));
        QCOMPARE(edit.text(), "0.25");
        QCOMPARE(edit.property("Value").toDouble(), 0.25);
        QVERIFY(edit.setProperty("NumberType", QVariant::fromValue(TNumberEdit::ntFloat)));
        QCOMPARE(edit.GetNumberType(), TNumberEdit::ntFloat);
    }
};

QTEST_MAIN(TestNumberEdit)
#include "tst_numberedit.moc"
