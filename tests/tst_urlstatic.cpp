// The URL label: its look, and the left press that opens its address once and goes no further,
// while every other mouse message keeps the plain label's handling.

#include "Colors.h"
#include "OpenUrl.h"
#include "URLStatic.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {

// A parent that counts the mouse presses that its children pass on.
class TParent : public QWidget {
public:
    int Presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++Presses; }
};

} // namespace

class TestURLStatic : public QObject {
    Q_OBJECT

    QStringList Opened;

private slots:
    void init() {
        Opened.clear();
        SetOpenUrlFunction([this](const QString& address) { Opened.append(address); });
    }

    void cleanup() { SetOpenUrlFunction({}); }

    void looksLikeALink() {
        TParent parent;
        QFont parentFont("DejaVu Serif");
        parentFont.setPixelSize(30);
        parent.setFont(parentFont);
        auto* link = new TURLStatic(&parent);
        QCOMPARE(link->GetURL(), QString());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(link->font().family(), "Arial");
        QVERIFY(link->font().underline());
        QVERIFY(!link->font().bold() && !link->font().italic() && !link->font().strikeOut());
        // Its own font: the parent's size is not taken over.
        QCOMPARE(link->font().pointSizeF(), QFont().pointSizeF());
        QVERIFY(!link->autoFillBackground());
    }

    void isUnderlinedOnlyWhateverTheApplicationFont() {
        const QFont applicationFont = QApplication::font();
        QFont styled = applicationFont;
        styled.setBold(true);
        styled.setItalic(true);
        styled.setStrikeOut(true);
        styled.setOverline(true);
        styled.setPointSize(15);
        QApplication::setFont(styled);
        TURLStatic link;
        QApplication::setFont(applicationFont);
        QVERIFY(link.font().underline());
        QCOMPARE(link.font().weight(), QFont::Normal);
        QCOMPARE(link.font().style(), QFont::StyleNormal);
        QVERIFY(!link.font().strikeOut() && !link.font().overline());
        QCOMPARE(link.font().pointSize(), 15); // the size stays the default font's
        QCOMPARE(link.font().family(), "Arial");
    }

    void leftPressOpensTheAddressOncePerPress() {
        TParent parent;
        auto* link = new TURLStatic(&parent);
        link->setText("Brightmoss Software");
        link->SetURL("https://www.brightmoss.com/");
        parent.show();
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(Opened, QStringList{"https://www.brightmoss.com/"});
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton);
        QCOMPARE(Opened.size(), 2);
        // The press is not passed on.
        QCOMPARE(parent.Presses, 0);
    }

    void anEmptyAddressIsPassedAsItIs() {
        TURLStatic link;
        link.show();
        QTest::mouseClick(&link, Qt::LeftButton);
        QCOMPARE(Opened, QStringList{QString()});
    }

    void otherMouseMessagesGetThePlainLabelsHandling() {
        TParent parent;
        auto* link = new TURLStatic(&parent);
        link->SetURL("https://www.brightmoss.com/");
        parent.show();
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mouseClick(link, Qt::MiddleButton);
        QTest::mouseMove(link, QPoint(3, 3));
        // A plain label passes presses on to its parent.
        QCOMPARE(parent.Presses, 2);
        QVERIFY(Opened.isEmpty());
    }

    void aDoubleClickOpensOnlyForItsFirstPress() {
        TParent parent;
        auto* link = new TURLStatic(&parent);
        link->SetURL("https://www.brightmoss.com/");
        parent.show();
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseDClick(link, Qt::LeftButton);
        QCOMPARE(Opened.size(), 1);
        QCOMPARE(parent.Presses, 1); // the double click went the plain label's way
    }
};

QTEST_MAIN(TestURLStatic)
#include "tst_urlstatic.moc"
