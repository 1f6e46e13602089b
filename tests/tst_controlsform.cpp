// A Qt Designer form with every control of the control set: the properties it stores reach the
// controls (a misspelt name would only make a dynamic property).

#include "AnimatedLabel.h"
#include "Component.h"
#include "FancyButton.h"
#include "NumberEdit.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"
#include "ui_ControlsDemo.h"

#include <QTest>

class TestControlsForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void theFormSetsEveryStoredProperty() {
        QWidget window;
        Ui::TControlsDemoForm form;
        form.setupUi(&window);
        FormLoaded(&window);

        for (const QWidget* control : window.findChildren<QWidget*>())
            QVERIFY2(control->dynamicPropertyNames().isEmpty(), qPrintable(control->objectName()));

        QCOMPARE(form.FancyButton1->GetCaption(), "Press me");
        QCOMPARE(form.FancyButton1->GetTextShadowColor(), RGBColor(128, 128, 128));
        QCOMPARE(form.URLStatic1->GetURL(), "https://www.brightmoss.com/");
        QCOMPARE(form.FlashLabel->GetAnimationType(), TAnimatedLabel::atFlash);
        QCOMPARE(form.FlyLabel->GetAnimationType(), TAnimatedLabel::atFly);
        QCOMPARE(form.FlyLabel->GetInterval(), 50);
        QCOMPARE(form.FadeLabel->GetAnimationType(), TAnimatedLabel::atFade);
        QCOMPARE(form.FadeLabel->GetFontColor(), RGBColor(0, 0, 128));
        QCOMPARE(form.FadeLabel->GetInterval(), 100);
        QCOMPARE(form.NumberEdit1->text(), "1234.5");
        QCOMPARE(form.NumberEdit1->GetNumberType(), TNumberEdit::ntFloat);

        // The unit edit got its properties before its parts, which Loaded then made.
        QCOMPARE(form.UnitEdit1->GetUnit(), "kg");
        QVERIFY(form.UnitEdit1->EditPart());
        QCOMPARE(form.UnitEdit1->EditPart()->geometry(), QRect(0, 0, 100, 20));
        QCOMPARE(form.UnitEdit1->EditPart()->text(), "2.5");
        QCOMPARE(form.UnitEdit1->UnitPart()->text(), "kg");
        QCOMPARE(form.UnitEdit1->GetEditColor(), RGBColor(255, 255, 240));
        QCOMPARE(form.UnitEdit1->EditPart()->palette().color(QPalette::Base),
                 QColor(255, 255, 240));
        QCOMPARE(form.UnitEdit1->UnitPart()->palette().color(QPalette::Window),
                 QColor(192, 192, 192));

        QCOMPARE(form.VersionLabel1->text(), QStringLiteral("Version " FW_PROJECT_VERSION));
    }
};

QTEST_MAIN(TestControlsForm)
#include "tst_controlsform.moc"
