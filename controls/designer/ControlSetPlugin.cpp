#include "ControlSetPlugin.h"

#include "AnimatedLabel.h"
#include "FancyButton.h"
#include "NumberEdit.h"
#include "URLStatic.h"
#include "UnitEdit.h"
#include "Version.h"

#include <QIcon>
#include <QLabel>
#include <QMetaProperty>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

namespace {

// The caption of a new fancy button in its domXml: it takes its object name instead.
const QString NameCaption = QStringLiteral("$(objectName)");

// Whether Qt Designer does not offer the property but stores it, and the control says when it
// changes.
bool IsHiddenStoredProperty(const QMetaProperty& property) {
    return property.isStored() && !property.isDesignable() && property.hasNotifySignal();
}

} // namespace

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
    QWidget* control = Component.Create(parent);
    if (auto* button = qobject_cast<TFancyButton*>(control))
        CaptionFromObjectName(button);
    WatchHiddenProperties(control);
    return control;
}

void TControlPlugin::CaptionFromObjectName(TFancyButton* button) {
    const auto takeName = [this, button] {
        button->SetCaption(button->objectName());
        MarkChanged(button, QStringLiteral("Caption"));
    };
    // A new button's caption (from domXml) stands for its name, which Qt Designer may have
    // changed, when it is already taken, before the caption is set.
    connect(button, &TFancyButton::CaptionChanged, this, [button, takeName] {
        if (button->GetCaption() == NameCaption)
            takeName();
    });
    // The caption follows renames while it is the name.
    connect(button, &QObject::objectNameChanged, this,
            [button, takeName, previous = button->objectName()](const QString& name) mutable {
                if (!previous.isEmpty() && button->GetCaption() == previous)
                    takeName();
                previous = name;
            });
}

void TControlPlugin::WatchHiddenProperties(QWidget* control) {
    const QMetaObject* meta = control->metaObject();
    const QMetaMethod slot = metaObject()->method(
        metaObject()->indexOfSlot(QMetaObject::normalizedSignature("HiddenPropertyChanged()")));
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (IsHiddenStoredProperty(property))
            connect(control, property.notifySignal(), this, slot);
    }
}

void TControlPlugin::HiddenPropertyChanged() {
    QObject* control = sender();
    const QMetaObject* meta = control->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!IsHiddenStoredProperty(property) ||
            property.notifySignalIndex() != senderSignalIndex())
            continue;
        const QString name = QString::fromLatin1(property.name());
        MarkChanged(control, name);
        // The properties that edit it are named after it ("ColorRGB", "ColorName" for "Color").
        for (int j = 0; j < meta->propertyCount(); ++j) {
            const QMetaProperty editing = meta->property(j);
            const QString editingName = QString::fromLatin1(editing.name());
            if (!editing.isStored() && editing.isDesignable() && editingName.startsWith(name))
                MarkChanged(control, editingName);
        }
    }
}

void TControlPlugin::MarkChanged(QObject* control, const QString& name) {
    QDesignerPropertySheetExtension* sheet = PropertySheet(control);
    const int index = sheet ? sheet->indexOf(name) : -1;
    if (index < 0)
        return;
    sheet->setChanged(index, true);
    QDesignerPropertyEditorInterface* editor = Core->propertyEditor();
    if (editor && editor->object() == control)
        editor->setPropertyValue(name, sheet->property(index), true);
}

QDesignerPropertySheetExtension* TControlPlugin::PropertySheet(QObject* control) const {
    if (!Core)
        return nullptr;
    return qt_extension<QDesignerPropertySheetExtension*>(Core->extensionManager(), control);
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
    // So that a new control is visible: a fancy button's caption is its name, a label shows
    // its class name.
    QString text;
    if (Component.Class->inherits(&TFancyButton::staticMetaObject))
        text = QStringLiteral("  <property name=\"Caption\" stdset=\"0\"><string>%1</string>"
                              "</property>\n")
                   .arg(NameCaption);
    else if (Component.Class->inherits(&QLabel::staticMetaObject))
        text = QStringLiteral("  <property name=\"text\"><string>%1</string></property>\n")
                   .arg(className);
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          "%5"
                          " </widget>\n"
                          "</ui>\n")
        .arg(className, objectName)
        .arg(size.width())
        .arg(size.height())
        .arg(text);
}

bool TControlPlugin::isInitialized() const {
    return Initialized;
}

void TControlPlugin::initialize(QDesignerFormEditorInterface* core) {
    Core = core;
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
