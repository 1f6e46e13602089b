#pragma once

#include <QDialog>

// The About box: the program's name, icon, version and a link to the maker's home page.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);
};
