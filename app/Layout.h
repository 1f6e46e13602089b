#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

// The layout chooser: a sorted list of the layout files found, with a prompt in the language of
// the layout selected.
class TLayoutForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int OKResult = 1;
    static constexpr int CancelResult = 2;

    explicit TLayoutForm(QWidget* parent = nullptr);
    ~TLayoutForm() override;

    QFrame* Bevel1;
    QLabel* Label1;
    QListWidget* LayoutsList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QLabel* Image1;

    // The directory whose layout files the list shows (their prompts are read from there).
    QString LayoutDirectory;

    void AddLayout(const QString& name);
    // Shows the prompt of the layout selected in the list, read from that layout's own file.
    void LayoutsListClick();

public slots:
    void reject() override;

private:
    // OK is offered only while a layout is selected: Enter with nothing selected chooses nothing.
    void EnableOK();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
