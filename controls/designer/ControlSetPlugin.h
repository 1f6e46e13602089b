#pragma once

#include "Registry.h"

#include <QObject>
#include <QSize>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class QDesignerFormEditorInterface;
class TFancyButton;
class QDesignerPropertySheetExtension;

// One control of the control set as Qt Designer offers it in its widget box. A new fancy button
// is captioned with its object name and follows renames while the caption is the name; a new
// label shows its class name.
class TControlPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TControlPlugin(const TRegisteredComponent& component, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    QString domXml() const override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;

private slots:
    // A stored property that Qt Designer does not offer itself changed (through one of the
    // properties that edit it): it is marked changed, so that the form keeps it, and the
    // properties that edit it show the new value.
    void HiddenPropertyChanged();

private:
    void CaptionFromObjectName(TFancyButton* button);
    void WatchHiddenProperties(QWidget* control);
    QDesignerPropertySheetExtension* PropertySheet(QObject* control) const;
    // Marks a property of a control changed in Qt Designer, so that the form keeps it, and shows
    // its value in the property editor.
    void MarkChanged(QObject* control, const QString& name);

    TRegisteredComponent Component;
    QDesignerFormEditorInterface* Core = nullptr;
    bool Initialized = false;
    mutable QSize DefaultSize; // of a new control, measured once
};

// The control set's Designer plugin: every control that the control units register, on the
// palette page (widget box group) of the control set.
class TControlSetPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TControlSetPlugin(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface*> Widgets;
};
