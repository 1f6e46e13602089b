// The unit edit: when and how its parts are made and laid out, its value and its colours, also
// when they are set before the parts exist.

#include "NumberEdit.h"
#include "UnitEdit.h"

#include <QApplication>
#include <QTest>

namespace {

const QColor Base(250, 250, 240);
const QColor Window(200, 210, 220);
const QColor Button(192, 192, 192);

QColor EditBackground(const TUnitEdit& edit) {
    return edit.EditPart()->palette().color(QPalette::Base);
}

} // namespace

class TestUnitEdit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QPalette colors = QApplication::palette();
        colors.setColor(QPalette::Base, Base);
        colors.setColor(QPalette::Window, Window);
        colors.setColor(QPalette::Button, Button);
        QApplication::setPalette(colors);
    }

    void partsAreLaidOutForTheWidthAtTheirMaking() {
        QWidget form;
        auto* edit = new TUnitEdit(&form);
        QCOMPARE(edit->height(), 20);
        QVERIFY(!edit->EditPart() && !edit->UnitPart()); // none before the window is made
        edit->setGeometry(10, 10, 100, 20);
        edit->SetUnit("cm");
        form.show();
        QVERIFY(edit->EditPart() && edit->UnitPart());
        QCOMPARE(edit->EditPart()->geometry(), QRect(0, 0, 70, 20));
        QCOMPARE(edit->UnitPart()->pos(), QPoint(72, 2));
        QCOMPARE(edit->UnitPart()->text(), "cm");
        QVERIFY(edit->EditPart()->isVisible() && edit->UnitPart()->isVisible());
        QCOMPARE(edit->findChildren<QWidget*>().size(), 2);

        // Not laid out again, and not made again.
        edit->resize(300, 20);
        edit->Loaded();
        edit->CreateWnd();
        QCOMPARE(edit->EditPart()->geometry(), QRect(0, 0, 70, 20));
        QCOMPARE(edit->UnitPart()->pos(), QPoint(72, 2));
        QCOMPARE(edit->findChildren<QWidget*>().size(), 2);
    }

    void aLoadedCompositeMakesItsPartsThen() {
        TUnitEdit edit;
        edit.resize(100, 20);
        edit.Loaded();
        QVERIFY(edit.EditPart());
        QCOMPARE(edit.EditPart()->width(), 70);
        QCOMPARE(edit.UnitPart()->x(), 72);
        QVERIFY(!edit.isVisible()); // loading shows nothing
    }

    void theUnitPartSizesItselfToItsCaption() {
        TUnitEdit edit;
        edit.resize(100, 20);
        edit.Loaded();
        edit.SetUnit("kilometres per hour");
        QCOMPARE(edit.GetUnit(), "kilometres per hour");
        QCOMPARE(edit.UnitPart()->text(), "kilometres per hour");
        QCOMPARE(edit.UnitPart()->size(), edit.UnitPart()->sizeHint());
        QCOMPARE(edit.UnitPart()->pos(), QPoint(72, 2));
    }

    void valueIsTheEditPartsValueBothWays() {
        TUnitEdit edit;
        edit.Loaded();
        edit.SetValue(2.5f);
        QCOMPARE(edit.EditPart()->text(), "2.5");
        edit.EditPart()->setText("12345678");
        QCOMPARE(edit.GetValue(), 12345678.0f);
        edit.EditPart()->setText("abc");
        QCOMPARE(edit.GetValue(), 0.0f);
        QVERIFY(edit.setProperty("Value", 0.5));
        QCOMPARE(edit.EditPart()->text(), "0.5");
    }

    void unitColourColoursTheUnitPartAndTheCompositeTogether() {
        QWidget form;
        auto* edit = new TUnitEdit(&form);
        edit->setGeometry(0, 0, 100, 20);
        edit->SetUnit("kg");
        form.resize(120, 40);
        form.show();
        edit->SetUnitColor(RGBColor(255, 255, 0));
        QCOMPARE(edit->GetUnitColor(), RGBColor(255, 255, 0));
        const QImage image = edit->grab().toImage();
        // Between the parts, and on the unit part's own area.
        QCOMPARE(image.pixelColor(71, 10), QColor(255, 255, 0));
        QCOMPARE(image.pixelColor(edit->UnitPart()->geometry().right(), 3), QColor(255, 255, 0));
        QVERIFY(edit->UnitPart()->autoFillBackground());
        QCOMPARE(edit->UnitPart()->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(EditBackground(*edit), Base);

        edit->SetEditColor(RGBColor(0, 128, 255));
        QCOMPARE(EditBackground(*edit), QColor(0, 128, 255));
        QCOMPARE(edit->grab().toImage().pixelColor(71, 10), QColor(255, 255, 0));
        QCOMPARE(edit->UnitPart()->palette().color(QPalette::Window), QColor(255, 255, 0));

        // System colours are looked up.
        edit->SetUnitColor(clBtnFace);
        QCOMPARE(edit->grab().toImage().pixelColor(71, 10), Button);
    }

    void defaultsAreStoredButNotApplied() {
        TUnitEdit edit;
        QCOMPARE(edit.GetEditColor(), clWindow);
        QCOMPARE(edit.GetUnitColor(), clBtnFace);
        QCOMPARE(edit.GetUnit(), QString());
        QCOMPARE(edit.GetValue(), 0.0f);
        edit.Loaded();
        QVERIFY(!edit.UnitPart()->autoFillBackground());
        QVERIFY(!edit.autoFillBackground());
        QCOMPARE(edit.EditPart()->text(), QString()); // no value written into it
    }

    // As a form sets them: before Loaded makes the parts.
    void whatIsSetBeforeThePartsExistReachesThem() {
        TUnitEdit edit;
        edit.resize(100, 20);
        edit.SetValue(-2.5f);
        edit.SetEditColor(RGBColor(1, 2, 3));
        edit.SetUnitColor(RGBColor(4, 5, 6));
        edit.SetUnit("m");
        edit.Show(); // no parts yet: nothing to show
        QCOMPARE(edit.GetValue(), -2.5f);
        QVERIFY(!edit.EditPart());

        edit.Loaded();
        QCOMPARE(edit.EditPart()->text(), "-2.5");
        QCOMPARE(edit.GetValue(), -2.5f);
        QCOMPARE(EditBackground(edit), QColor(1, 2, 3));
        QCOMPARE(edit.UnitPart()->palette().color(QPalette::Window), QColor(4, 5, 6));
        QCOMPARE(edit.palette().color(QPalette::Window), QColor(4, 5, 6));
        QCOMPARE(edit.UnitPart()->text(), "m");
    }

    void showShowsThePartsOnly() {
        QWidget form;
        auto* edit = new TUnitEdit(&form);
        edit->Loaded();
        edit->EditPart()->hide();
        edit->UnitPart()->hide();
        edit->hide();
        form.show();
        edit->Show();
        QVERIFY(!edit->isVisible());
        QVERIFY(!edit->EditPart()->isHidden());
        QVERIFY(!edit->UnitPart()->isHidden());
        edit->show();
        QVERIFY(edit->EditPart()->isVisible() && edit->UnitPart()->isVisible());
    }

    void partsMadeWhileShownAreShown() {
        QWidget form;
        form.show();
        auto* edit = new TUnitEdit(&form);
        edit->resize(100, 20);
        edit->show();
        QVERIFY(edit->EditPart());
        QVERIFY(edit->EditPart()->isVisible() && edit->UnitPart()->isVisible());
    }
};

QTEST_MAIN(TestUnitEdit)
#include "tst_unitedit.moc"
