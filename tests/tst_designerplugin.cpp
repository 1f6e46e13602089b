// The Qt Designer plugin, loaded as Qt Designer loads it: six controls on "Brightmoss 2", each
// made by the plugin with its properties there to edit: colours with a colour picker and by
// name, while the stored colour values stay what they were; new controls visible by their
// captions; properties the controls do not publish not offered.

#include "Colors.h"

#include <QApplication>
#include <QPalette>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class TestDesignerPlugin : public QObject {
    Q_OBJECT

    QPluginLoader Loader{QStringLiteral(FW_DESIGNER_PLUGIN)};

    QDesignerCustomWidgetInterface* Plugin(const QString& className) {
        auto* collection =
            qobject_cast<QDesignerCustomWidgetCollectionInterface*>(Loader.instance());
        if (!collection)
            return nullptr;
        for (QDesignerCustomWidgetInterface* widget : collection->customWidgets())
            if (widget->name() == className)
                return widget;
        return nullptr;
    }

    // A control made by the plugin, as Qt Designer makes one; nullptr for an unknown class.
    QWidget* CreateControl(const QString& className, QWidget* parent) {
        QDesignerCustomWidgetInterface* plugin = Plugin(className);
        return plugin ? plugin->createWidget(parent) : nullptr;
    }

    static QMetaProperty Property(const QObject* control, const char* name) {
        return control->metaObject()->property(control->metaObject()->indexOfProperty(name));
    }

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
            {"TAnimatedLabel",
             {"AnimationType", "Interval", "ColorRGB", "ColorName", "FontColorRGB",
              "FontColorName"}},
            {"TNumberEdit", {"Value", "NumberType"}},
            {"TUnitEdit",
             {"Unit", "Value", "EditColorRGB", "EditColorName", "UnitColorRGB", "UnitColorName"}},
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

    void colourPropertiesAreEditedByColourAndByName_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QByteArray>("color");
        QTest::newRow("fancy button shadow") << "TFancyButton" << QByteArray("TextShadowColor");
        QTest::newRow("unit edit's edit part") << "TUnitEdit" << QByteArray("EditColor");
        QTest::newRow("unit edit's unit part") << "TUnitEdit" << QByteArray("UnitColor");
        QTest::newRow("animated label") << "TAnimatedLabel" << QByteArray("Color");
        QTest::newRow("animated label's font") << "TAnimatedLabel" << QByteArray("FontColor");
    }

    void colourPropertiesAreEditedByColourAndByName() {
        QFETCH(QString, className);
        QFETCH(QByteArray, color);
        const QByteArray rgb = color + "RGB";
        const QByteArray name = color + "Name";
        QWidget parent;
        QWidget* control = CreateControl(className, &parent);
        QVERIFY(control);

        // The colour value is stored as it always was, but edited through the other two.
        const QMetaProperty stored = Property(control, color);
        QVERIFY(stored.isStored() && stored.isWritable() && !stored.isDesignable());
        QCOMPARE(stored.metaType(), QMetaType::fromType<int>());
        QVERIFY(stored.hasNotifySignal()); // so that the plugin marks it changed
        for (const QByteArray& editing : {rgb, name}) {
            const QMetaProperty property = Property(control, editing);
            QVERIFY2(property.isDesignable() && property.isWritable() && !property.isStored(),
                     editing.constData());
        }
        QCOMPARE(Property(control, rgb).metaType(), QMetaType::fromType<QColor>());
        QVERIFY(Property(control, name).isEnumType());

        // By name: the system colour itself, shown in its current colour.
        QSignalSpy changes(control, stored.notifySignal());
        QVERIFY(control->setProperty(name, "clBtnFace"));
        QCOMPARE(control->property(color).toInt(), clBtnFace);
        QCOMPARE(control->property(rgb).value<QColor>(),
                 QApplication::palette().color(QPalette::Button));
        QCOMPARE(changes.count(), 1);
        QVERIFY(control->setProperty(name, "clNone"));
        QCOMPARE(control->property(color).toInt(), clNone);
        QCOMPARE(Property(control, name).enumerator().valueToKey(control->property(name).toInt()),
                 "clNone");
        // "clCustom" turns a named colour into the plain colour that it shows.
        QVERIFY(control->setProperty(name, "clWindow"));
        QVERIFY(control->setProperty(name, "clCustom"));
        QCOMPARE(control->property(color).toInt(),
                 QColorToColor(QApplication::palette().color(QPalette::Base)));

        // By colour: a plain colour, which has no name.
        QVERIFY(control->setProperty(rgb, QColor(1, 2, 3)));
        QCOMPARE(control->property(color).toInt(), RGBColor(1, 2, 3));
        QCOMPARE(Property(control, name).enumerator().valueToKey(control->property(name).toInt()),
                 "clCustom");
        QVERIFY(control->setProperty(name, "clCustom"));
        QCOMPARE(control->property(color).toInt(), RGBColor(1, 2, 3));

        // A form sets the stored value as a number, as before.
        QVERIFY(control->setProperty(color, QVariant(int(clBtnShadow))));
        QCOMPARE(Property(control, name).enumerator().valueToKey(control->property(name).toInt()),
                 "clBtnShadow");
    }

    void newControlsAreVisibleByTheirCaptions_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("caption");
        QTest::newRow("version label: its class")
            << "TVersionLabel"
            << "<property name=\"text\"><string>TVersionLabel</string>";
        QTest::newRow("URL label: its class")
            << "TURLStatic"
            << "<property name=\"text\"><string>TURLStatic</string>";
        QTest::newRow("animated label: its class")
            << "TAnimatedLabel"
            << "<property name=\"text\"><string>TAnimatedLabel</string>";
    }

    void newControlsAreVisibleByTheirCaptions() {
        QFETCH(QString, className);
        QFETCH(QString, caption);
        QDesignerCustomWidgetInterface* plugin = Plugin(className);
        QVERIFY(plugin);
        QVERIFY2(plugin->domXml().contains(caption), qPrintable(plugin->domXml()));
    }

    void aNewFancyButtonTakesItsNameAsCaptionAndFollowsRenames() {
        QDesignerCustomWidgetInterface* plugin = Plugin("TFancyButton");
        QVERIFY(plugin);
        QWidget parent;
        QWidget* button = plugin->createWidget(&parent);
        // As Qt Designer places one: the name and caption of the new control, then a free name.
        const QString caption = QRegularExpression("name=\"Caption\"[^>]*><string>([^<]*)<")
                                    .match(plugin->domXml())
                                    .captured(1);
        QVERIFY(!caption.isEmpty());
        button->setObjectName("FancyButton1_2");
        QCOMPARE(button->property("Caption").toString(), QString());
        button->setProperty("Caption", caption);
        QCOMPARE(button->property("Caption").toString(), "FancyButton1_2");
        button->setObjectName("FancyButton2");
        QCOMPARE(button->property("Caption").toString(), "FancyButton2");
        button->setProperty("Caption", "&Next");
        button->setObjectName("NextButton");
        QCOMPARE(button->property("Caption").toString(), "&Next");
    }

    void unpublishedPropertiesAreNotOffered_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QByteArray>("property");
        QTest::newRow("fancy button: enabled") << "TFancyButton" << QByteArray("enabled");
        QTest::newRow("number edit: text") << "TNumberEdit" << QByteArray("text");
        QTest::newRow("animated label: wordWrap") << "TAnimatedLabel" << QByteArray("wordWrap");
        QTest::newRow("animated label: alignment") << "TAnimatedLabel" << QByteArray("alignment");
    }

    void unpublishedPropertiesAreNotOffered() {
        QFETCH(QString, className);
        QFETCH(QByteArray, property);
        QWidget parent;
        QWidget* control = CreateControl(className, &parent);
        QVERIFY(control);
        QVERIFY(control->metaObject()->indexOfProperty(property) >= 0);
        QVERIFY(!Property(control, property).isDesignable());
        QVERIFY(Property(control, property).isWritable()); // code can still set it
    }
};

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
