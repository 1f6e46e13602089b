#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;

// The step a control runs once a form has finished setting its properties from the form
// description (a control whose look depends on several properties, or that builds its parts
// only then). A form calls FormLoaded right after setupUi.
class TLoadable {
public:
    virtual ~TLoadable() = default;
    virtual void Loaded() = 0;
};

// Runs Loaded on every control inside `form` that has the step, in the order of creation.
void FormLoaded(QWidget* form);

// Design-time registration: a control class as a form designer offers it on a palette page.
struct TComponentClass {
    QString ClassName;   // "TVersionLabel"
    QString IncludeFile; // "Version.h"
    QString ToolTip;
    QSize DefaultSize; // its size when dropped on a form
    std::function<QWidget*(QWidget* parent)> Create;
};

struct TRegisteredComponent {
    QString Page;
    TComponentClass Class;
};

// The palette page of the program's own controls.
inline const QString ControlSetPage = QStringLiteral("Brightmoss 2");

// Registers control classes on a palette page; a class registered again replaces its entry.
void RegisterComponents(const QString& page, const QList<TComponentClass>& classes);

// Every class registered so far, in the order of first registration.
QList<TRegisteredComponent> RegisteredComponents();
