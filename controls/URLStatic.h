#pragma once

#include <QLabel>

// A label styled as a hyperlink (blue, "Arial" underlined and in no other style, hand cursor,
// transparent). A press of the left button opens its URL through the desktop.
class TURLStatic : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString URL READ GetURL WRITE SetURL)

public:
    explicit TURLStatic(QWidget* parent = nullptr);

    QString GetURL() const { return FURL; }
    void SetURL(const QString& value) { FURL = value; }

    // Opens the URL; the press goes no further.
    void WMLButtonDown(QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString FURL;
};

namespace URLStaticUnit {
// Registers TURLStatic on the control set's palette page.
void Register();
} // namespace URLStaticUnit
