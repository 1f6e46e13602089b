#include "Registry.h"

#include <QMetaObject>

namespace {

QList<TRegisteredComponent>& Components() {
    static QList<TRegisteredComponent> components;
    return components;
}

} // namespace

void RegisterComponent(const TRegisteredComponent& component) {
    for (const TRegisteredComponent& known : Components())
        if (known.Class == component.Class)
            return;
    Components().append(component);
}

const QList<TRegisteredComponent>& RegisteredComponents() {
    return Components();
}
