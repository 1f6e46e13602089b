// Design-time registration: each control unit registers its class on the control set's page.

#include "AnimatedLabel.h"
#include "Component.h"
#include "FancyButton.h"
#include "FancyButtonRegister.h"
#include "NumberEdit.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"

#include <QTest>

class TestRegistration : public QObject {
    Q_OBJECT

private slots:
    void eachUnitRegistersItsClassOnce() {
        QVERIFY(RegisteredComponents().isEmpty());
        const QList<std::pair<void (*)(), QString>> units = {
            {FancyButtonUnit::Register, "TFancyButton"},
            {VersionUnit::Register, "TVersionLabel"},
            {URLStaticUnit::Register, "TURLStatic"},
            {AnimatedLabelUnit::Register, "TAnimatedLabel"},
            {NumberEditUnit::Register, "TNumberEdit"},
            {UnitEditUnit::Register, "TUnitEdit"},
        };
        for (const auto& [registerUnit, className] : units) {
            const qsizetype before = RegisteredComponents().size();
            registerUnit();
            registerUnit(); // again: replaces, does not add
            const QList<TRegisteredComponent> registered = RegisteredComponents();
            QCOMPARE(registered.size(), before + 1);
            QCOMPARE(registered.last().Class.ClassName, className);
            QCOMPARE(registered.last().Page, "Brightmoss 2");

            // The factory makes a control of that class, owned by the parent.
            QWidget parent;
            QWidget* control = registered.last().Class.Create(&parent);
            QCOMPARE(control->metaObject()->className(), className.toLatin1());
            QCOMPARE(control->parentWidget(), &parent);
            QVERIFY(!registered.last().Class.IncludeFile.isEmpty());
        }
    }
};

QTEST_MAIN(TestRegistration)
#include "test_Registration.moc"
