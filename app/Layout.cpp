#include "Layout.h"

#include "LayoutFile.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace {

const QString DefaultPrompt = QStringLiteral("Select the keyboard layout that you want to use:");

// Layout names sort alphabetically without regard to case.
class TLayoutItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override {
        const int order = text().compare(other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < other.text();
    }
};

} // namespace

TLayoutForm::TLayoutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Keyboard layout"));
    setFixedSize(384, 233);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 281, 217);

    setFont(QFont(QStringLiteral("Tahoma"), 8));
    Label1 = new QLabel(DefaultPrompt, this);
    Label1->setGeometry(20, 14, 257, 28);
    Label1->setWordWrap(true);

    LayoutsList = new QListWidget(this);
    LayoutsList->setGeometry(20, 44, 257, 173);
    LayoutsList->setSortingEnabled(true);
    connect(LayoutsList, &QListWidget::itemSelectionChanged, this, &TLayoutForm::LayoutsListClick);
    connect(LayoutsList, &QListWidget::itemSelectionChanged, this, &TLayoutForm::EnableOK);
    // Emptying the list drops its selection without telling itemSelectionChanged.
    connect(LayoutsList->model(), &QAbstractItemModel::modelReset, this, &TLayoutForm::EnableOK);
    LayoutsList->installEventFilter(this);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setGeometry(300, 8, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(OKResult); });
    EnableOK();

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setGeometry(300, 38, 75, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &TLayoutForm::reject);

    Image1 = new QLabel(this);
    Image1->setGeometry(320, 100, 32, 32);
    const QIcon icon = QApplication::windowIcon().isNull()
                           ? style()->standardIcon(QStyle::SP_ComputerIcon)
                           : QApplication::windowIcon();
    Image1->setPixmap(icon.pixmap(32, 32));
}

// The list's signals reach this form's slots; while its children are destroyed the form is no
// longer a TLayoutForm, so the list must not call them then.
TLayoutForm::~TLayoutForm() {
    LayoutsList->model()->disconnect(this);
    LayoutsList->disconnect(this);
}

void TLayoutForm::AddLayout(const QString& name) {
    LayoutsList->addItem(new TLayoutItem(name));
}

void TLayoutForm::LayoutsListClick() {
    QListWidgetItem* item = LayoutsList->currentItem();
    if (!item || !item->isSelected())
        return;
    Label1->setText(ReadLayoutText(LayoutFilePath(LayoutDirectory, item->text()),
                                   QStringLiteral("Messages"), QStringLiteral("layout"),
                                   DefaultPrompt));
}

void TLayoutForm::EnableOK() {
    OKBtn->setEnabled(!LayoutsList->selectedItems().isEmpty());
}

void TLayoutForm::reject() {
    done(CancelResult);
}

bool TLayoutForm::eventFilter(QObject* watched, QEvent* event) {
    // The list shows its keyboard focus on an item that is not selected yet: the first arrow key
    // selects that item instead of stepping past it.
    if (watched == LayoutsList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QListWidgetItem* current = LayoutsList->currentItem();
        const bool arrow = key == Qt::Key_Up || key == Qt::Key_Down;
        if (arrow && current && LayoutsList->selectedItems().isEmpty()) {
            current->setSelected(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
