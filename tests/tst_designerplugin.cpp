// The Qt Designer plugin, loaded as Qt Designer loads it: six controls on "Brightmoss 2", each
// made by the plugin with its properties there to edit.

#include <QPluginLoader>
#include <QTest>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class TestDesignerPlugin : public QObject {
    Q_OBJECT

    QPluginLoader Loader{QStringLiteral(FW_DESIGNER_PLUGIN)};

private slots:
    void offersTheSixControlsOnTheControlSetsPage() {
        QObject* instance = Loader.instance();
        QVERIFY2(instance, qPrintable(Loader.errorString()));
        auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(instance);
        QVERIFY(collection);

        const QMap<QString, QStringList> expected = {
            {"TFancyButton", {"State", "ModalResult", "Caption"}},
            {"TVersionLabel", {"text"}},
            {"TURLStatic", {"URL"}},
            {"TAnimatedLabel", {"AnimationType", "Interval", "Color", "FontColor"}},
            {"TNumberEdit", {"Value", "NumberType"}},
            {"TUnitEdit", {"Unit", "Value", "EditColor", "UnitColor"}},
        };
        const QList<QDesignerCustomWidgetInterface*> widgets = collection->customWidgets();
        QCOMPARE(widgets.size(), 6);
        QStringList names;
        for (QDesignerCustomWidgetInterface* widget : widgets) {
            names.append(widget->name());
            QCOMPARE(widget->group(), "Brightmoss 2");
            QVERIFY(widget->includeFile().endsWith(".h"));
            QVERIFY(!widget->isContainer());
            QVERIFY(widget->domXml().contains(QStringLiteral("class=\"%1\"").arg(widget->name())));

            QWidget parent;
            QWidget* control = widget->createWidget(&parent);
            QVERIFY(control);
            QCOMPARE(QString::fromLatin1(control->metaObject()->className()), widget->name());
            for (const QString& name : expected.value(widget->name())) {
                const int index = control->metaObject()->indexOfProperty(name.toLatin1());
                QVERIFY2(index >= 0, qPrintable(widget->name() + "." + name));
                const QMetaProperty property = control->metaObject()->property(index);
                QVERIFY2(property.isWritable() && property.isDesignable(),
                         qPrintable(widget->name() + "." + name));
            }
        }
        names.sort();
        QStringList expectedNames = expected.keys();
        expectedNames.sort();
        QCOMPARE(names, expectedNames);
    }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
