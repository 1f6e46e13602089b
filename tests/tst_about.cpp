// The About box: as its form describes it, its version line set once when it is made, its link
// and its OK button.

#include "About.h"
#include "OpenUrl.h"
#include "TestSupport.h"
#include "URLStatic.h"
#include "Version.h"
#include "VersionRecord.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// Shows the form modally, lets `answer` close it, and returns the result it closed with.
int RunModal(TAboutForm& form, const TModalAnswerer::Answer& answer) {
    TModalAnswerer answerer(answer);
    const int result = form.exec();
    return answerer.Answered == 1 ? result : -1;
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        VersionRecord::SetProgramFileNameFunction({});
        SetOpenUrlFunction({});
    }

    void formIsAsDescribed() {
        TAboutForm form;
        QCOMPARE(form.windowTitle(), "About Fingerwise");
        QCOMPARE(form.size(), QSize(272, 130));
        QCOMPARE(form.minimumSize(), QSize(272, 130));
        QCOMPARE(form.maximumSize(), QSize(272, 130));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.font().family(), "Arial");
        QCOMPARE(form.font().pixelSize(), 11);
        QCOMPARE(form.palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));

        QCOMPARE(form.NameLabel->geometry(), QRect(67, 8, 137, 16));
        QCOMPARE(form.NameLabel->text(), "Fingerwise");
        QCOMPARE(form.NameLabel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(form.NameLabel->wordWrap());

        QCOMPARE(form.Image1->geometry(), QRect(16, 16, 32, 32));
        QCOMPARE(form.Image1->pixmap().size(), QSize(32, 32)); // the program icon

        QCOMPARE(form.URLStatic1->geometry(), QRect(77, 68, 117, 14));
        QCOMPARE(form.URLStatic1->text(), "Brightmoss Software");
        QCOMPARE(form.URLStatic1->GetURL(), "https://www.brightmoss.com/");
        QCOMPARE(form.URLStatic1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form.URLStatic1->font().family(), "Arial");
        QCOMPARE(form.URLStatic1->font().pixelSize(), 11);
        QVERIFY(form.URLStatic1->font().underline());
        QCOMPARE(form.URLStatic1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        // The hint is kept, but the form shows no hints.
        QCOMPARE(form.URLStatic1->statusTip(), "Visit the Brightmoss homepage!");
        QVERIFY(form.URLStatic1->toolTip().isEmpty());

        QCOMPARE(form.VersionLabel1->geometry(), QRect(65, 28, 141, 14));
        QCOMPARE(form.VersionLabel1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        QCOMPARE(form.Button1->geometry(), QRect(98, 96, 75, 25));
        QCOMPARE(form.Button1->text(), "OK");
        QVERIFY(form.Button1->isDefault());

        // Every stored property reached its control.
        for (const QWidget* control : form.findChildren<QWidget*>())
            QVERIFY2(control->dynamicPropertyNames().isEmpty(), qPrintable(control->objectName()));
    }

    void versionLineIsSetWhenTheFormIsMade() {
        TAboutForm form;
        QCOMPARE(form.VersionLabel1->text(), QStringLiteral("Version " FW_PROJECT_VERSION));
        QCOMPARE(form.VersionLabel1->text(), "Version 1.1.3.0");

        // Not read again when the form is shown later.
        VersionRecord::SetProgramFileNameFunction([] { return QStringLiteral("/no/such/file"); });
        form.show();
        QCOMPARE(form.VersionLabel1->text(), "Version 1.1.3.0");
    }

    void withoutAVersionRecordTheRestIsUnaffected() {
        VersionRecord::SetProgramFileNameFunction([] { return QStringLiteral("/no/such/file"); });
        TAboutForm form;
        QCOMPARE(form.VersionLabel1->text(), "Version ");
        QCOMPARE(form.NameLabel->text(), "Fingerwise");
        QCOMPARE(form.URLStatic1->GetURL(), "https://www.brightmoss.com/");
    }

    void linkOpensTheMakersHomePage() {
        QStringList opened;
        SetOpenUrlFunction([&](const QString& address) { opened.append(address); });
        TAboutForm form;
        form.show();
        QTest::mouseClick(form.URLStatic1, Qt::LeftButton);
        QCOMPARE(opened, QStringList{"https://www.brightmoss.com/"});
    }

    void okAndEnterCloseWithResultOne() {
        TAboutForm form;
        QCOMPARE(RunModal(form, [&](QWidget*) { QTest::mouseClick(form.Button1, Qt::LeftButton); }),
                 1);
        QVERIFY(!form.isVisible());
        QCOMPARE(RunModal(form, [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); }),
                 1);
        QCOMPARE(RunModal(form, [](QWidget* dialog) { dialog->close(); }), 0);
    }

    void isCentredOnTheScreen() {
        QWidget owner;
        owner.setGeometry(0, 0, 200, 100);
        owner.show();
        TAboutForm form(&owner);
        form.show();
        const QPoint centre = form.screen()->availableGeometry().center();
        QVERIFY((form.frameGeometry().center() - centre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
