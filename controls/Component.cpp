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
