#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class TURLStatic;
class TVersionLabel;
namespace Ui {
class TAboutForm;
}

// The About box: the program's name, icon and file version, and a link to the maker's home page.
// Built from its form description; the version line is set when the form is created. OK (the
// default button) closes it with the result 1, as does Enter; the close box closes it too.
//
// The link's hint is kept as its status tip, which nothing displays in a dialog: the form shows
// no hints.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;

    // The form's controls.
    QLabel* NameLabel = nullptr;
    QLabel* Image1 = nullptr;
    TURLStatic* URLStatic1 = nullptr;
    TVersionLabel* VersionLabel1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    // Centres the box on the screen each time it is shown.
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TAboutForm> Form;
};

// The program's icon, in every size that the resources hold under ":/icon"; the application's
// icon when there is none.
QIcon ProgramIcon();
