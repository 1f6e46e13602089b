#pragma once

#include <QDialog>

class QPlainTextEdit;
class TFancyButton;

// The congratulations dialog of a completed exercise. Every key closes it: F12 with the result
// that asks for the next page, any other key (and the OK button) with OK.
class TCongratsDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int OKResult = 1;
    static constexpr int NextPageResult = 4;

    explicit TCongratsDlg(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    TFancyButton* OKBtn;

    // The message: the first line, an empty line, the third line.
    void SetMessage(const QString& firstLine, const QString& thirdLine);

    void FormKeyDown(int key);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
