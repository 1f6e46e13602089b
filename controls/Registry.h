#pragma once

#include <QList>
#include <QString>

class QMetaObject;
class QWidget;

// The designer palette: every control unit's Register() records its classes here, each on a
// palette page, so that a form designer (the Qt Designer plugin collection) can offer them.
struct TRegisteredComponent {
    QString Page;
    const QMetaObject* Class = nullptr; // class name, properties and enums
    QString IncludeFile;                // the header a generated form includes
    QWidget* (*Create)(QWidget* parent) = nullptr;
};

// Records a class on a palette page; a class recorded before keeps its first entry.
void RegisterComponent(const TRegisteredComponent& component);

// The classes recorded so far, in the order of their registration.
const QList<TRegisteredComponent>& RegisteredComponents();

// The palette page of the program's own controls.
inline const QString ControlSetPage = QStringLiteral("Brightmoss 2");

// Records a control class of this set on its palette page: its header and how to make one.
template <typename TControl> void RegisterControl(const QString& includeFile) {
    RegisterComponent({ControlSetPage, &TControl::staticMetaObject, includeFile,
                       [](QWidget* parent) -> QWidget* { return new TControl(parent); }});
}
