#include "ControlSetPlugin.h"

#include "AnimatedLabel.h"
#include "FancyButton.h"
#include "NumberEdit.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"

#include <QIcon>

TControlPlugin::TControlPlugin(const TRegisteredComponent& component, QObject* parent)
    : QObject(parent)
    , Component(component) {}

QString TControlPlugin::name() const {
    return QString::fromLatin1(Component.Class->className());
}

QString TControlPlugin::group() const {
    return Component.Page;
}

QString TControlPlugin::toolTip() const {
    return name();
}

QString TControlPlugin::whatsThis() const {
    return name();
}

QString TControlPlugin::includeFile() const {
    return Component.IncludeFile;
}

QIcon TControlPlugin::icon() const {
    return {};
}

bool TControlPlugin::isContainer() const {
    return false;
}

QWidget* TControlPlugin::createWidget(QWidget* parent) {
    return Component.Create(parent);
}

QString TControlPlugin::domXml() const {
    // A new control is named like the class without its "T", numbered from 1.
    const QString className = name();
    const QString objectName =
        className.mid(className.startsWith(QLatin1Char('T')) ? 1 : 0) + QLatin1Char('1');
    if (!DefaultSize.isValid()) {
        // The size that the control gives itself as a child, as a form makes it.
        QWidget parent;
        DefaultSize = Component.Create(&parent)->size();
    }
    const QSize size = DefaultSize;
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(className, objectName)
        .arg(size.width())
        .arg(size.height());
}

bool TControlPlugin::isInitialized() const {
    return Initialized;
}

void TControlPlugin::initialize(QDesignerFormEditorInterface*) {
    Initialized = true;
}

TControlSetPlugin::TControlSetPlugin(QObject* parent)
    : QObject(parent) {
    FancyButtonUnit::Register();
    VersionUnit::Register();
    URLStaticUnit::Register();
    AnimatedLabelUnit::Register();
    NumberEditUnit::Register();
    UnitEditUnit::Register();
    for (const TRegisteredComponent& component : RegisteredComponents()) {
        if (component.Page == ControlSetPage)
            Widgets.append(new TControlPlugin(component, this));
    }
}

QList<QDesignerCustomWidgetInterface*> TControlSetPlugin::customWidgets() const {
    return Widgets;
}
