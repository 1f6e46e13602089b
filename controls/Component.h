#pragma once

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
