#include "Component.h"

#include <QWidget>

void FormLoaded(QWidget* form) {
    // Collected first: Loaded may create parts, which are not loaded from the form.
    const QList<QWidget*> controls = form->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (auto* loadable = dynamic_cast<TLoadable*>(control))
            loadable->Loaded();
    }
}

namespace {

QList<TRegisteredComponent>& Registry() {
    static QList<TRegisteredComponent> registry;
    return registry;
}

} // namespace

void RegisterComponents(const QString& page, const QList<TComponentClass>& classes) {
    QList<TRegisteredComponent>& registry = Registry();
    for (const TComponentClass& componentClass : classes) {
        const auto same = [&](const TRegisteredComponent& entry) {
            return entry.Class.ClassName == componentClass.ClassName;
        };
        const auto existing = std::find_if(registry.begin(), registry.end(), same);
        if (existing != registry.end())
            *existing = {page, componentClass};
        else
            registry.append({page, componentClass});
    }
}

QList<TRegisteredComponent> RegisteredComponents() {
    return Registry();
}
