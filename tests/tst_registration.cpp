// Design-time registration: each control unit registers its class on the control set's page.

#include "AnimatedLabel.h"
#include "FancyButton.h"
#include "NumberEdit.h"
#include "Registry.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"

#include <QFile>
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
            registerUnit(); // again: nothing added
            const QList<TRegisteredComponent> registered = RegisteredComponents();
            QCOMPARE(registered.size(), before + 1);
            QCOMPARE(registered.last().Class->className(), className.toLatin1());
            QCOMPARE(registered.last().Page, "Brightmoss 2");

            // The factory makes a control of that class, owned by the parent.
            QWidget parent;
            QWidget* control = registered.last().Create(&parent);
            QCOMPARE(control->metaObject(), registered.last().Class);
            QCOMPARE(control->parentWidget(), &parent);
            QVERIFY(
                QFile::exists(QStringLiteral(FW_CONTROLS_DIR "/") + registered.last().IncludeFile));
        }
    }
};

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
